#include "shell/ui/shell_dialog_templates.h"

#include "shell/dialog_templates.h"

namespace {

DialogTemplate aboutTemplate() {
    DialogBuilder d(DIALOG_ABOUT, "About", 260, 150);
    d.control({IDC_STATIC, ControlKind::Icon, "", 16, 16, 32, 32})
        .control({IDC_STATIC, ControlKind::Label, "ONDARIX  ver. 3.2", 64, 16, 180, 18})
        .control({IDC_STATIC, ControlKind::Label, "Windows 95 version", 64, 38, 180, 18})
        .control({IDC_STATIC, ControlKind::Label, "Data Analysis", 64, 60, 180, 18})
        .button(90, 108, IDOK, "OK", true);
    return d.result();
}

} // namespace

void registerShellDialogTemplates() {
    addDialogTemplate(aboutTemplate());
}

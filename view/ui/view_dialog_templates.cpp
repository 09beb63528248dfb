#include "view/ui/view_dialog_templates.h"

#include "shell/dialog_templates.h"

namespace {

DialogTemplate setBlockTemplate() {
    DialogBuilder d(DIALOG_SET_BLOCK, "Set Block", 240, 150);
    d.labelEdit(12, 12, 78, "Channel", IDC_BLOCK_CHANNEL, 130)
        .labelEdit(12, 44, 78, "From", IDC_BLOCK_FROM, 130)
        .labelEdit(12, 76, 78, "To", IDC_BLOCK_TO, 130)
        .okCancel(35, 114);
    return d.result();
}

} // namespace

void registerViewDialogTemplates() {
    addDialogTemplate(setBlockTemplate());
}

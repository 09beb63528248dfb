#include "shell/dialog_templates.h"

#include <algorithm>
#include <deque>

namespace {

DialogTemplate aboutTemplate() {
    return {DIALOG_ABOUT,
            "About",
            260,
            150,
            {
                {IDC_STATIC, ControlKind::Icon, "", 16, 16, 32, 32},
                {IDC_STATIC, ControlKind::Label, "ONDARIX  ver. 3.2", 64, 16, 180, 18},
                {IDC_STATIC, ControlKind::Label, "Windows 95 version", 64, 38, 180, 18},
                {IDC_STATIC, ControlKind::Label, "Data Analysis", 64, 60, 180, 18},
                {IDOK, ControlKind::DefaultButton, "OK", 95, 108, 70, 26},
            }};
}

DialogTemplate setBlockTemplate() {
    return {DIALOG_SET_BLOCK,
            "Set Block",
            240,
            150,
            {
                {IDC_STATIC, ControlKind::Label, "Channel", 12, 14, 70, 20},
                {IDC_BLOCK_CHANNEL, ControlKind::Edit, "", 90, 12, 130, 24},
                {IDC_STATIC, ControlKind::Label, "From", 12, 46, 70, 20},
                {IDC_BLOCK_FROM, ControlKind::Edit, "", 90, 44, 130, 24},
                {IDC_STATIC, ControlKind::Label, "To", 12, 78, 70, 20},
                {IDC_BLOCK_TO, ControlKind::Edit, "", 90, 76, 130, 24},
                {IDOK, ControlKind::DefaultButton, "OK", 40, 114, 75, 26},
                {IDCANCEL, ControlKind::Button, "Cancel", 125, 114, 75, 26},
            }};
}

// A deque: adding a template keeps the addresses of the others.
std::deque<DialogTemplate>& templates() {
    static std::deque<DialogTemplate> all{aboutTemplate(), setBlockTemplate()};
    return all;
}

} // namespace

const DialogTemplate* findDialogTemplate(int id) {
    for (const DialogTemplate& dialog : templates())
        if (dialog.id == id) return &dialog;
    return nullptr;
}

void addDialogTemplate(const DialogTemplate& dialog) {
    auto& all = templates();
    auto it = std::find_if(all.begin(), all.end(),
                           [&](const DialogTemplate& d) { return d.id == dialog.id; });
    if (it != all.end())
        *it = dialog;
    else
        all.push_back(dialog);
}

#include "shell/dialog_templates.h"

#include <algorithm>
#include <deque>

namespace {

constexpr int LABEL_HEIGHT = 20;
// Labels sit lower than their fields so the texts line up.
constexpr int LABEL_DROP = 2;

// A deque: adding a template keeps the addresses of the others.
std::deque<DialogTemplate>& templates() {
    static std::deque<DialogTemplate> all;
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

DialogBuilder::DialogBuilder(int id, const char* title, int width, int height)
    : dialog_{id, title, width, height, {}} {}

DialogBuilder& DialogBuilder::labelEdit(int x, int y, int labelWidth, const char* label, int id,
                                        int fieldWidth, int style) {
    control(
        {IDC_STATIC, ControlKind::Label, label, x, y + LABEL_DROP, labelWidth - 6, LABEL_HEIGHT});
    return control({id, ControlKind::Edit, "", x + labelWidth, y, fieldWidth, FIELD_HEIGHT, style});
}

DialogBuilder& DialogBuilder::labelCombo(int x, int y, int labelWidth, const char* label, int id,
                                         int fieldWidth) {
    control(
        {IDC_STATIC, ControlKind::Label, label, x, y + LABEL_DROP, labelWidth - 6, LABEL_HEIGHT});
    return control({id, ControlKind::ComboBox, "", x + labelWidth, y, fieldWidth, FIELD_HEIGHT});
}

DialogBuilder& DialogBuilder::labelList(int x, int y, const char* label, int id, int width,
                                        int height) {
    if (label) {
        control({IDC_STATIC, ControlKind::Label, label, x, y, width, LABEL_HEIGHT});
        y += LABEL_HEIGHT;
    }
    return control({id, ControlKind::ListView, "", x, y, width, height});
}

DialogBuilder& DialogBuilder::check(int x, int y, int id, const char* text, int width) {
    return control({id, ControlKind::CheckBox, text, x, y, width, FIELD_HEIGHT});
}

DialogBuilder& DialogBuilder::button(int x, int y, int id, const char* text, bool isDefault) {
    return control({id, isDefault ? ControlKind::DefaultButton : ControlKind::Button, text, x, y,
                    BUTTON_WIDTH, BUTTON_HEIGHT});
}

DialogBuilder& DialogBuilder::control(const ControlTemplate& c) {
    dialog_.controls.push_back(c);
    return *this;
}

DialogBuilder& DialogBuilder::okCancel(int x, int y, const char* ok, const char* cancel) {
    button(x, y, IDOK, ok, true);
    return button(x + BUTTON_WIDTH + 10, y, IDCANCEL, cancel);
}

#include "view/ui/component_list.h"

#include <cstdio>

#include "measure/text_encoding.h"
#include "shell/dialog_templates.h"

namespace {
const char* const NEW_COMPONENT_ROW = "New component";
}

void addComponentListRows(DialogBuilder& d, int listWidth) {
    const int buttons = 12 + listWidth + 14;
    d.labelEdit(12, 12, 60, "Channel", 271, 60, CONTROL_READ_ONLY)
        .labelEdit(150, 12, 50, "From", 1050, 100)
        .labelEdit(320, 12, 40, "To", 244, 100)
        .labelList(12, 48, nullptr, IDC_COMPONENT_LIST, listWidth, 240)
        .button(buttons, 48, IDC_COMPONENT_EDIT, "&Edit")
        .button(buttons, 82, IDC_COMPONENT_INSERT, "&Insert")
        .button(buttons, 116, IDC_COMPONENT_DELETE, "&Delete");
}

QString componentName(const SignalComponent& component) {
    return QString::fromStdString(displayText(component.name));
}

SignalComponent namedComponent(int row) {
    SignalComponent component{};
    std::snprintf(component.name, sizeof component.name, "Component no %d", row + 1);
    return component;
}

SignalComponent unitComponent(int row) {
    SignalComponent c = namedComponent(row);
    c.frequency = 1.0;
    c.a = 1.0;
    c.d = 1.0;
    c.eta = 0.0;
    c.amplitude = 1.0;
    c.k = 5.0;
    return c;
}

void ComponentList::fill() {
    dialog_.setListColumns(IDC_COMPONENT_LIST, style_.columns);
    // A list replaced as a whole may be shorter than the one shown.
    for (int n = dialog_.listRowCount(IDC_COMPONENT_LIST); n > params_.componentCount + 1; --n)
        dialog_.removeListRow(IDC_COMPONENT_LIST, n - 1);
    for (int i = 0; i < params_.componentCount; ++i)
        dialog_.setListRow(IDC_COMPONENT_LIST, i, style_.rowTexts(params_.components[i]));
    dialog_.setListRow(IDC_COMPONENT_LIST, params_.componentCount,
                       {QString::fromLatin1(NEW_COMPONENT_ROW)});
    dialog_.selectListRow(IDC_COMPONENT_LIST, 0);
}

int ComponentList::selectedRow() const {
    int row = -1;
    dialog_.getSelectedRow(IDC_COMPONENT_LIST, row);
    return row;
}

bool ComponentList::OnCommand(int id) {
    switch (id) {
    case IDC_COMPONENT_EDIT:
        edit(selectedRow());
        return true;
    case IDC_COMPONENT_INSERT: {
        int row = selectedRow();
        if (isComponentRow(row) || (style_.insertOnNewRow && row == params_.componentCount))
            insert(row);
        return true;
    }
    case IDC_COMPONENT_DELETE:
        remove(selectedRow());
        return true;
    default:
        return false;
    }
}

bool ComponentList::OnNotify(int id, const NotifyRecord& record) {
    if (id != IDC_COMPONENT_LIST || record.code != NM_DBLCLK) return false;
    edit(record.row);
    return true;
}

void ComponentList::edit(int row) {
    // The "New component" row creates one at the end.
    if (row == params_.componentCount) return insert(row);
    if (!isComponentRow(row)) return;
    SignalComponent copy = params_.components[row];
    if (!style_.editComponent(copy)) return;
    params_.components[row] = copy;
    dialog_.setListRow(IDC_COMPONENT_LIST, row, style_.rowTexts(copy));
}

void ComponentList::insert(int row) {
    SignalComponent component = style_.newComponent(row);
    // A full list still opens the dialog, and then takes nothing.
    if (!style_.editComponent(component) || params_.componentCount >= MAX_COMPONENTS) return;
    insertComponent(params_, row, component);
    dialog_.insertListRow(IDC_COMPONENT_LIST, row, style_.rowTexts(component));
    dialog_.selectListRow(IDC_COMPONENT_LIST, row);
}

void ComponentList::remove(int row) {
    if (!isComponentRow(row)) return;
    removeComponent(params_, row);
    dialog_.removeListRow(IDC_COMPONENT_LIST, row);
    dialog_.selectListRow(IDC_COMPONENT_LIST, row);
}

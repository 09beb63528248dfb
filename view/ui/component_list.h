// A channel's component list in a dialog's list view: one row per component
// and a last "New component" row; "&Edit", "&Insert", "&Delete" and a double
// click work on the dialog's working copy of the list. The signal-parameters,
// Kalman and approximation dialogs differ only in the columns, the new
// component and whether Insert on the last row appends.
#pragma once

#include <QStringList>

#include <functional>
#include <vector>

#include "measure/measure.h"
#include "shell/ui/dialog.h"

constexpr int IDC_COMPONENT_LIST = 1015;
constexpr int IDC_COMPONENT_EDIT = 1040;
constexpr int IDC_COMPONENT_INSERT = 1016;
constexpr int IDC_COMPONENT_DELETE = 1017;

class DialogBuilder;

// The rows every component-list dialog starts with: Channel (read-only),
// From and To (271, 1050, 244), then the list, `listWidth` pixels wide and
// 240 high, with Edit, Insert and Delete beside it.
void addComponentListRows(DialogBuilder& d, int listWidth);

struct ComponentListStyle {
    std::vector<ListColumn> columns;
    // The texts of a component's row, in column order.
    std::function<QStringList(const SignalComponent&)> rowTexts;
    // The component Insert prepares for row `row`.
    std::function<SignalComponent(int row)> newComponent;
    // Runs the component dialog on `component`; true when it ended with OK.
    std::function<bool(SignalComponent& component)> editComponent;
    // Whether Insert with the "New component" row selected appends.
    bool insertOnNewRow = true;
};

class ComponentList {
  public:
    ComponentList(CDialog& dialog, SignalParameters& params, ComponentListStyle style)
        : dialog_(dialog), params_(params), style_(std::move(style)) {}

    // Columns, one row per component, "New component", the first row selected.
    void fill();
    // The list's buttons; false for any other control.
    bool OnCommand(int id);
    // A double click edits the row clicked.
    bool OnNotify(int id, const NotifyRecord& record);

  private:
    int selectedRow() const;
    bool isComponentRow(int row) const { return row >= 0 && row < params_.componentCount; }
    void edit(int row);
    void insert(int row);
    void remove(int row);

    CDialog& dialog_;
    SignalParameters& params_;
    ComponentListStyle style_;
};

// The name of a component as the list shows it.
QString componentName(const SignalComponent& component);
// "Component no %d" for list row `row`, as the new components are named,
// every number 0.
SignalComponent namedComponent(int row);
// The same with frequency, a, d, amplitude 1 and k 5, eta 0: what the
// signal-parameters and Kalman lists insert.
SignalComponent unitComponent(int row);

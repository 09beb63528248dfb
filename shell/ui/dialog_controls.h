// Builds the controls of a dialog template and finds them again by id.
#pragma once

#include <QString>

class QWidget;
struct DialogTemplate;

// The property that holds a control's id.
constexpr const char* CONTROL_ID_PROPERTY = "controlId";

// Creates every control of `dialog` inside `parent`, in template order.
void buildControls(QWidget* parent, const DialogTemplate& dialog);
// The control with this id among `parent`'s descendants; null when none.
QWidget* findControl(const QWidget* parent, int id);
// The id of a control of ours, IDC_STATIC for anything else.
int controlId(const QWidget* control);
// The text a control shows: edits, labels, buttons, the current combo text.
QString controlText(const QWidget* control);

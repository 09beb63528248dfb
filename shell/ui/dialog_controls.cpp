#include "shell/ui/dialog_controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "shell/dialog_templates.h"
#include "shell/ui/program_icons.h"

namespace {

QWidget* makeListView(QWidget* parent) {
    auto* list = new QTableWidget(parent);
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->verticalHeader()->hide();
    list->horizontalHeader()->setStretchLastSection(true);
    return list;
}

QWidget* makeEdit(QWidget* parent, const ControlTemplate& c) {
    const QString text = QString::fromUtf8(c.text);
    if (c.style & CONTROL_MULTI_LINE) {
        auto* edit = new QPlainTextEdit(text, parent);
        edit->setReadOnly(c.style & CONTROL_READ_ONLY);
        return edit;
    }
    auto* edit = new QLineEdit(text, parent);
    edit->setReadOnly(c.style & CONTROL_READ_ONLY);
    return edit;
}

QWidget* makeButton(QWidget* parent, const ControlTemplate& c, bool isDefault) {
    auto* button = new QPushButton(QString::fromUtf8(c.text), parent);
    button->setAutoDefault(isDefault);
    button->setDefault(isDefault);
    return button;
}

QWidget* makeControl(QWidget* parent, const ControlTemplate& c) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
    case ControlKind::Label:
        return new QLabel(text, parent);
    case ControlKind::Edit:
        return makeEdit(parent, c);
    case ControlKind::Button:
        return makeButton(parent, c, false);
    case ControlKind::DefaultButton:
        return makeButton(parent, c, true);
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioButton:
        return new QRadioButton(text, parent);
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    case ControlKind::ListView:
        return makeListView(parent);
    case ControlKind::ComboBox:
        return new QComboBox(parent);
    case ControlKind::Icon: {
        auto* label = new QLabel(parent);
        label->setPixmap(programIcon(ICON_PROGRAM).pixmap(c.width, c.height));
        return label;
    }
    }
    return new QWidget(parent);
}

} // namespace

void buildControls(QWidget* parent, const DialogTemplate& dialog) {
    QButtonGroup* radios = nullptr;
    for (const ControlTemplate& c : dialog.controls) {
        QWidget* control = makeControl(parent, c);
        control->setProperty(CONTROL_ID_PROPERTY, c.id);
        control->setGeometry(c.x, c.y, c.width, c.height);
        control->setEnabled(!(c.style & CONTROL_DISABLED));
        if (c.kind == ControlKind::GroupBox) control->lower();
        if (c.kind != ControlKind::RadioButton) continue;
        // Radio buttons from one CONTROL_GROUP mark to the next exclude each other.
        if (!radios || (c.style & CONTROL_GROUP)) radios = new QButtonGroup(parent);
        radios->addButton(static_cast<QAbstractButton*>(control));
    }
}

QWidget* findControl(const QWidget* parent, int id) {
    if (!parent || id == IDC_STATIC) return nullptr;
    for (QWidget* w : parent->findChildren<QWidget*>()) {
        QVariant v = w->property(CONTROL_ID_PROPERTY);
        if (v.isValid() && v.toInt() == id) return w;
    }
    return nullptr;
}

int controlId(const QWidget* control) {
    QVariant v = control ? control->property(CONTROL_ID_PROPERTY) : QVariant();
    return v.isValid() ? v.toInt() : IDC_STATIC;
}

QString controlText(const QWidget* control) {
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(control)) return plain->toPlainText();
    if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    if (auto* combo = qobject_cast<const QComboBox*>(control)) return combo->currentText();
    if (auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
    return QString();
}

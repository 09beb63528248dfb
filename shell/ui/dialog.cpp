#include "shell/ui/dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "shell/dialog_templates.h"
#include "shell/format_text.h"
#include "shell/ui/dialog_controls.h"
#include "shell/ui/modal_ui.h"

namespace {

constexpr int MAX_FIELD_CHARS = 79;
constexpr int HINT_HEIGHT = 36; // two lines

// Below the controls of a dialog with fields, a line that tells what a
// refused field accepts, or a word about an answer (CDialog::showFieldHint
// gives it its colour); returns the height it takes.
int addHintLine(QWidget* dialog, const DialogTemplate& layout) {
    bool hasFields =
        std::any_of(layout.controls.begin(), layout.controls.end(),
                    [](const ControlTemplate& c) { return c.kind == ControlKind::Edit; });
    if (!hasFields) return 0;
    auto* hint = new QLabel(dialog);
    hint->setObjectName(QStringLiteral("fieldHint"));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->setGeometry(12, layout.height - 6, layout.width - 24, HINT_HEIGHT);
    return HINT_HEIGHT;
}

// The dialog window: routes its controls to the CDialog behind it.
class TemplateDialog : public QDialog, public ModalDialog {
  public:
    TemplateDialog(CDialog* object, const DialogTemplate& layout, QWidget* owner)
        : QDialog(owner), object_(object) {
        setWindowTitle(QString::fromUtf8(layout.title));
        buildControls(this, layout);
        setFixedSize(layout.width, layout.height + addHintLine(this, layout));
        connectControls();
    }

    // ModalDialog
    QDialog* widget() override { return this; }
    bool ended() const override { return ended_; }
    void cancel() override { command(IDCANCEL, BN_CLICKED, nullptr); }

    void command(int id, int code, QWidget* control) {
        if (id == IDOK)
            object_->OnOK();
        else if (id == IDCANCEL)
            object_->OnCancel();
        else
            object_->OnCommand(id, code, control);
    }

    void done(int result) override {
        ended_ = true;
        QDialog::done(result);
    }
    // Escape and the close button are the Cancel button.
    void reject() override { command(IDCANCEL, BN_CLICKED, nullptr); }
    void accept() override { command(IDOK, BN_CLICKED, nullptr); }

  private:
    void connectControls();

    CDialog* object_;
    bool ended_ = false;
};

void TemplateDialog::connectControls() {
    for (QWidget* control : findChildren<QWidget*>()) {
        int id = controlId(control);
        if (id == IDC_STATIC) continue;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, id, button] { command(id, BN_CLICKED, button); });
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            connect(edit, &QLineEdit::textEdited, this,
                    [this, id, edit] { command(id, EN_CHANGE, edit); });
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            connect(combo, &QComboBox::activated, this,
                    [this, id, combo] { command(id, CBN_SELCHANGE, combo); });
        } else if (auto* list = qobject_cast<QTableWidget*>(control)) {
            connect(list, &QTableWidget::itemSelectionChanged, this, [this, id, list] {
                object_->OnNotify(id, {LVN_ITEMCHANGED, list->currentRow()});
            });
            connect(list, &QTableWidget::cellClicked, this, [this, id](int row, int) {
                object_->OnNotify(id, {NM_CLICK, row});
            });
            connect(list, &QTableWidget::cellDoubleClicked, this, [this, id](int row, int) {
                object_->OnNotify(id, {NM_DBLCLK, row});
            });
        }
    }
}

} // namespace

int CDialog::OnInitDialog(QDialog* dialog) {
    hwnd = dialog;
    return 1;
}

int CDialog::OnOK() {
    EndDialog(IDOK);
    return 1;
}

int CDialog::OnCancel() {
    EndDialog(IDCANCEL);
    return 1;
}

int CDialog::OnNotify(int, const NotifyRecord&) {
    return 0;
}

int CDialog::OnCommand(int, int, QWidget*) {
    return 0;
}

void CDialog::EndDialog(int result) {
    if (hwnd) hwnd->done(result);
}

QWidget* CDialog::control(int id) const {
    return findControl(hwnd, id);
}

QTableWidget* CDialog::listView(int id) const {
    return qobject_cast<QTableWidget*>(control(id));
}

QString CDialog::text(int id) const {
    return controlText(control(id));
}

void CDialog::setText(int id, const QString& text) {
    QWidget* c = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(c))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(c))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(c))
        group->setTitle(text);
    else if (c)
        c->setProperty("text", text); // labels and the rest
}

bool CDialog::isChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(control(id));
    return button && button->isChecked();
}

void CDialog::setChecked(int id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(id))) button->setChecked(checked);
}

void CDialog::setFocusTo(int id) const {
    if (QWidget* c = control(id)) c->setFocus(Qt::OtherFocusReason);
}

bool CDialog::getInt(int id, int32_t& out) const {
    const QByteArray bytes = text(id).trimmed().toLatin1();
    const char* begin = bytes.constData();
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(begin, &end, 10);
    bool ok = !bytes.isEmpty() && end != begin && *end == '\0' && errno == 0 &&
              value >= INT32_MIN && value <= INT32_MAX;
    if (!ok) {
        setFocusTo(id);
        return false;
    }
    out = int32_t(value);
    return true;
}

void CDialog::setInt(int id, int32_t value) {
    setText(id, QString::number(value));
}

void CDialog::setDouble(int id, double value) {
    char buffer[64];
    formatText(buffer, sizeof buffer, "%.10g", value);
    setText(id, QString::fromLatin1(buffer));
}

bool CDialog::getDouble(int id, double& out) const {
    const QByteArray bytes = text(id).left(MAX_FIELD_CHARS).toUtf8();
    if (bytes.isEmpty()) return false;
    const char* begin = bytes.constData();
    char* end = nullptr;
    double value = std::strtod(begin, &end);
    if (*end != '\0') {
        setFocusTo(id);
        return false;
    }
    out = value;
    return true;
}

bool CDialog::getDouble(int id, double& out, double low, double high) const {
    if (!getDouble(id, out)) return false;
    // A NaN lies in no range.
    if (std::isnan(out) || out < low || out > high) {
        setFocusTo(id);
        return false;
    }
    return true;
}

void CDialog::getSelectedRow(int listId, int& out) const {
    out = -1;
    QTableWidget* list = listView(listId);
    if (!list || !list->selectionModel()) return;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        if (out < 0 || index.row() < out) out = index.row();
}

int showDialog(CDialog& dialog, QWidget* owner, int templateId) {
    const DialogTemplate* layout = findDialogTemplate(templateId);
    if (!layout) return -1;
    TemplateDialog box(&dialog, *layout, owner);
    dialog.OnInitDialog(&box);
    int result = modalUi().runDialog(box);
    // A dialog closed without ending (the interaction gave up) counts as cancelled.
    if (!box.ended()) box.cancel();
    if (box.ended()) result = box.result();
    dialog.hwnd = nullptr;
    return result;
}

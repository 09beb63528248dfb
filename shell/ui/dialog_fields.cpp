// The OK-time field readers of CDialog and the dialog's hint line.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

#include <cmath>
#include <limits>
#include <string>

#include "measure/measure.h"
#include "measure/text_encoding.h"
#include "shell/ui/dialog.h"
#include "shell/ui/formatted.h"

namespace {

constexpr const char* HINT_NAME = "fieldHint";

QString numberText(double value) {
    return QString::number(value, 'g', 10);
}

} // namespace

void CDialog::setFormatted(int id, const char* format, double value) {
    setText(id, formatted(format, value));
}

void CDialog::showFieldHint(int id, const QString& text, HintKind kind) {
    setFocusTo(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control(id))) {
        edit->selectAll();
        edit->setToolTip(text);
    }
    if (auto* hint = hwnd ? hwnd->findChild<QLabel*>(QLatin1String(HINT_NAME)) : nullptr) {
        // Red is kept for what was refused, so that it still means something.
        hint->setStyleSheet(kind == HintKind::Refusal ? QStringLiteral("color: #b00000")
                                                      : QString());
        hint->setText(text);
    }
}

QString CDialog::fieldHint() const {
    auto* hint = hwnd ? hwnd->findChild<QLabel*>(QLatin1String(HINT_NAME)) : nullptr;
    return hint ? hint->text() : QString();
}

bool CDialog::readInt(int id, int32_t& out, int32_t low, int32_t high) {
    int32_t value = 0;
    if (getInt(id, value) && value >= low && value <= high) {
        out = value;
        return true;
    }
    showFieldHint(id, QStringLiteral("Enter a whole number from %1 to %2.").arg(low).arg(high));
    return false;
}

bool CDialog::readDouble(int id, double& out, double low, double high) {
    double value = 0;
    if (getDouble(id, value) && std::isfinite(value) && value >= low && value <= high) {
        out = value;
        return true;
    }
    showFieldHint(
        id, QStringLiteral("Enter a number from %1 to %2.").arg(numberText(low), numberText(high)));
    return false;
}

bool CDialog::readDouble(int id, double& out) {
    double value = 0;
    if (getDouble(id, value) && std::isfinite(value)) {
        out = value;
        return true;
    }
    showFieldHint(id, QStringLiteral("Enter a number."));
    return false;
}

bool CDialog::readName(int id, char* field, int capacity) {
    std::string bytes;
    if (!toFileEncoding(text(id).toStdString(), bytes)) {
        showFieldHint(id, QStringLiteral("A character here has no Windows-1250 form, which "
                                         "measurement files keep names in."));
        return false;
    }
    if (int(bytes.size()) > capacity - 1) {
        showFieldHint(id, QStringLiteral("At most %1 characters.").arg(capacity - 1));
        return false;
    }
    copyField(field, capacity, bytes.c_str());
    return true;
}

void CDialog::setName(int id, const char* bytes, int capacity) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(id))) edit->setMaxLength(capacity - 1);
    setText(id, QString::fromStdString(displayText(bytes)));
}

#include "shell/ui/number_question.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// Digits, signs, one point and an exponent: what the "C" locale writes. Thousands
// separators, a decimal comma, "inf" and hexadecimal are left out.
bool decimalCharacters(const QByteArray& text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E'))
            return false;
    return true;
}

} // namespace

QString positiveNumberProblem(const QString& text, double* value) {
    const QByteArray latin = text.trimmed().toLatin1();
    if (latin.isEmpty()) return QStringLiteral("Type a number above 0.");
    char* end = nullptr;
    errno = 0;
    // The program keeps LC_NUMERIC at "C", so the point is the decimal sign.
    const double number = decimalCharacters(latin) ? std::strtod(latin.constData(), &end) : 0.0;
    if (!end || *end != '\0')
        return QStringLiteral("Not a number: use digits, a point and an exponent such as 2.5e3.");
    if (errno == ERANGE && std::isinf(number))
        return QStringLiteral("The number is too large for a double.");
    if (!(number > 0.0)) return QStringLiteral("The number must be above 0.");
    *value = number;
    return QString();
}

NumberQuestion::NumberQuestion(QWidget* parent, const QString& text) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ondarix"));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(text, this);
    question->setWordWrap(true);
    layout->addWidget(question);
    field_ = new QLineEdit(this);
    layout->addWidget(field_);
    hint_ = new QLabel(this);
    layout->addWidget(hint_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(field_, &QLineEdit::textChanged, this, [this] { check(); });
    check();
}

void NumberQuestion::check() {
    const QString problem = positiveNumberProblem(field_->text(), &value_);
    hint_->setText(problem);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

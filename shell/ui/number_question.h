// The box that asks for a positive number (the sample rate of a file that
// does not give it): any positive finite number typed in the "C" locale, in
// decimal or exponent notation; while the text is none, OK is greyed and the
// line below the field says why. The field starts empty: a guess that Enter
// would accept could give a file a rate it never had.
#pragma once

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// Why `text` is not a positive finite number, or empty when it is one
// (`*value` then holds it).
QString positiveNumberProblem(const QString& text, double* value);

class NumberQuestion : public QDialog {
  public:
    NumberQuestion(QWidget* parent, const QString& text);

    // The number typed; valid once OK could be pressed.
    double value() const { return value_; }
    QLineEdit* field() const { return field_; }
    QLabel* hint() const { return hint_; }
    QDialogButtonBox* buttons() const { return buttons_; }

  private:
    void check();

    QLineEdit* field_ = nullptr;
    QLabel* hint_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    double value_ = 0.0;
};

// The box that asks which of several things to take (the matrix of a file
// that holds several): a list of them, one marked at first, OK greyed while
// none is, a double click taking the one clicked.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QDialogButtonBox;
class QListWidget;

class ChoiceQuestion : public QDialog {
  public:
    ChoiceQuestion(QWidget* parent, const QString& text, const QStringList& items, int selected);

    // The row chosen; -1 when none is.
    int chosen() const;
    QListWidget* list() const { return list_; }
    QDialogButtonBox* buttons() const { return buttons_; }

  private:
    void check();

    QListWidget* list_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

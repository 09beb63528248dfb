#include "shell/ui/choice_question.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

ChoiceQuestion::ChoiceQuestion(QWidget* parent, const QString& text, const QStringList& items,
                               int selected)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ondarix"));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(text, this);
    question->setWordWrap(true);
    layout->addWidget(question);
    list_ = new QListWidget(this);
    // Names, shapes and types line up in a fixed-width font.
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->addItems(items);
    if (selected >= 0 && selected < list_->count()) list_->setCurrentRow(selected);
    layout->addWidget(list_);
    // The longest row shown whole, and room for a path in the question to
    // wrap at its spaces rather than inside a name.
    list_->setMinimumWidth(list_->sizeHintForColumn(0) + 2 * list_->frameWidth() +
                           list_->verticalScrollBar()->sizeHint().width());
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { check(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (chosen() >= 0) accept();
    });
    list_->setFocus();
    check();
}

int ChoiceQuestion::chosen() const {
    const QList<QListWidgetItem*> picked = list_->selectedItems();
    return picked.isEmpty() ? -1 : list_->row(picked.constFirst());
}

void ChoiceQuestion::check() {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(chosen() >= 0);
}

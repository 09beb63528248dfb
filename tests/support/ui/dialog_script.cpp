#include "dialog_script.h"

#include <QAbstractButton>
#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTableWidget>

#include <deque>

#include "shell/menus.h"
#include "shell/ui/dialog_controls.h"

namespace {

struct Script {
    bool openUrlResult = true;
    std::deque<dialogScript::DialogStep> dialogs;
    std::deque<dialogScript::FileDialogStep> fileDialogs;
    std::deque<int> popups;
    std::deque<SaveChoice> saveChoices;
    std::deque<bool> answers;
    std::deque<double> numbers;
    std::deque<dialogScript::ChoiceStep> choices;
    std::deque<RestoreChoice> restoreChoices;
    QStringList questions;
    QList<FileDialogRequest> fileRequests;
    QList<QUrl> urls;
    QStringList messages;
};

Script& script() {
    static Script s;
    return s;
}

template <typename T> bool takeFront(std::deque<T>& queue, T& out) {
    if (queue.empty()) return false;
    out = std::move(queue.front());
    queue.pop_front();
    return true;
}

// The interaction the tests install: every answer comes from the script.
class ScriptedModalUi : public ModalUi {
  public:
    int runDialog(ModalDialog& dialog) override {
        dialogScript::DialogStep step;
        if (takeFront(script().dialogs, step)) {
            ScriptedDialog scripted(dialog);
            step(scripted);
        }
        // A dialog the script left open is cancelled, as a user closing it.
        if (!dialog.ended()) dialog.cancel();
        return 2;
    }

    FileDialogAnswer fileDialog(QWidget*, const FileDialogRequest& request) override {
        script().fileRequests.append(request);
        dialogScript::FileDialogStep step;
        if (!takeFront(script().fileDialogs, step)) return FileDialogAnswer{};
        return step(request);
    }

    int popupMenu(const MenuPopup&, QWidget*, const QPoint&) override {
        int id = 0;
        takeFront(script().popups, id);
        return id;
    }

    void message(QWidget*, const QString& text) override { script().messages.append(text); }

    SaveChoice askSaveChanges(QWidget*, const QString& text) override {
        script().questions.append(text);
        SaveChoice choice = SaveChoice::Cancel;
        takeFront(script().saveChoices, choice);
        return choice;
    }

    bool askYesNo(QWidget*, const QString& text) override {
        script().questions.append(text);
        bool yes = false;
        takeFront(script().answers, yes);
        return yes;
    }

    bool askNumber(QWidget*, const QString& text, double* value) override {
        script().questions.append(text);
        return takeFront(script().numbers, *value);
    }

    int askChoice(QWidget*, const QString& text, const QStringList& items, int selected) override {
        script().questions.append(text);
        dialogScript::ChoiceStep step;
        return takeFront(script().choices, step) ? step(items, selected) : -1;
    }

    RestoreChoice askRestore(QWidget*, const QString& text) override {
        script().questions.append(text);
        RestoreChoice choice = RestoreChoice::Later;
        takeFront(script().restoreChoices, choice);
        return choice;
    }

    bool openUrl(const QUrl& url) override {
        script().urls.append(url);
        return script().openUrlResult;
    }
};

ScriptedModalUi scriptedUi;

} // namespace

QString ScriptedDialog::title() const {
    return dialog_->windowTitle();
}

QWidget* ScriptedDialog::control(int id) const {
    return findControl(dialog_, id);
}

QString ScriptedDialog::text(int id) const {
    return controlText(control(id));
}

void ScriptedDialog::setText(int id, const QString& text) {
    QWidget* c = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(c)) {
        // textEdited, as from the keyboard, so the dialog hears of it.
        edit->setText(text);
        emit edit->textEdited(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(c)) {
        plain->setPlainText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(c)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    }
}

void ScriptedDialog::setChecked(int id, bool checked) {
    auto* button = qobject_cast<QAbstractButton*>(control(id));
    if (button && button->isChecked() != checked) button->click();
}

void ScriptedDialog::selectRow(int listId, int row) {
    if (auto* list = qobject_cast<QTableWidget*>(control(listId))) {
        if (row < 0)
            list->clearSelection();
        else
            list->selectRow(row);
    }
}

void ScriptedDialog::selectItem(int comboId, int index) {
    if (auto* combo = qobject_cast<QComboBox*>(control(comboId))) {
        // As a user's choice: the dialog hears of it.
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
}

QString ScriptedDialog::hint() const {
    auto* line = dialog_->findChild<QLabel*>(QStringLiteral("fieldHint"));
    return line ? line->text() : QString();
}

bool ScriptedDialog::hintLooksRefused() const {
    auto* line = dialog_->findChild<QLabel*>(QStringLiteral("fieldHint"));
    if (!line) return false;
    const QImage drawn = line->grab().toImage();
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            if (c.red() > 120 && c.red() > 2 * c.green() && c.red() > 2 * c.blue()) return true;
        }
    return false;
}

int ScriptedDialog::focusedControl() const {
    return controlId(dialog_->focusWidget());
}

void ScriptedDialog::press(int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(id))) button->click();
}

namespace dialogScript {

void begin() {
    end();
    setModalUi(&scriptedUi);
}

void end() {
    script() = Script{};
    setModalUi(nullptr);
}

void pushDialog(DialogStep step) {
    script().dialogs.push_back(std::move(step));
}

void pushFileDialog(FileDialogStep step) {
    script().fileDialogs.push_back(std::move(step));
}

void pushPopup(int commandId) {
    script().popups.push_back(commandId);
}

void pushSaveChoice(SaveChoice choice) {
    script().saveChoices.push_back(choice);
}

void pushAnswer(bool yes) {
    script().answers.push_back(yes);
}

void pushNumber(double value) {
    script().numbers.push_back(value);
}

void pushChoice(ChoiceStep step) {
    script().choices.push_back(std::move(step));
}

void pushRestoreChoice(RestoreChoice choice) {
    script().restoreChoices.push_back(choice);
}

void pushFile(const QString& path, int filterIndex) {
    pushFileDialog([path, filterIndex](const FileDialogRequest&) {
        return FileDialogAnswer{true, path, filterIndex, {path}};
    });
}

const QList<FileDialogRequest>& fileRequests() {
    return script().fileRequests;
}

const QStringList& messages() {
    return script().messages;
}

const QStringList& questions() {
    return script().questions;
}

const QList<QUrl>& openedUrls() {
    return script().urls;
}

void setOpenUrlResult(bool opened) {
    script().openUrlResult = opened;
}

} // namespace dialogScript

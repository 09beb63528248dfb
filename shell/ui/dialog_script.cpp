#include "shell/ui/dialog_script.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

#include <deque>

#include "shell/ui/dialog_controls.h"

namespace {

struct Script {
    bool active = false;
    std::deque<dialogScript::DialogStep> dialogs;
    std::deque<dialogScript::FileDialogStep> fileDialogs;
    std::deque<int> popups;
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
    if (auto* combo = qobject_cast<QComboBox*>(control(comboId))) combo->setCurrentIndex(index);
}

void ScriptedDialog::press(int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(id))) button->click();
}

namespace dialogScript {

void begin() {
    end();
    script().active = true;
}

void end() {
    script() = Script{};
}

bool active() {
    return script().active;
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

void pushFile(const QString& path, int filterIndex) {
    pushFileDialog([path, filterIndex](const FileDialogRequest&) {
        return FileDialogAnswer{true, path, filterIndex};
    });
}

bool takeDialog(DialogStep& step) {
    return takeFront(script().dialogs, step);
}

bool takeFileDialog(FileDialogStep& step) {
    return takeFront(script().fileDialogs, step);
}

bool takePopup(int& commandId) {
    return takeFront(script().popups, commandId);
}

const QList<FileDialogRequest>& fileRequests() {
    return script().fileRequests;
}

void recordFileRequest(const FileDialogRequest& request) {
    script().fileRequests.append(request);
}

void recordMessage(const QString& text) {
    script().messages.append(text);
}

const QStringList& messages() {
    return script().messages;
}

void recordOpenedUrl(const QUrl& url) {
    script().urls.append(url);
}

const QList<QUrl>& openedUrls() {
    return script().urls;
}

} // namespace dialogScript

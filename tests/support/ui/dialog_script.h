// Plays the user in modal interactions: begin() installs a ModalUi that
// answers dialogs built from templates, the open and save file dialogs, popup
// menus and "Save changes?" questions from queued steps, and records
// messages, questions and opened documents.
// An interaction nobody scripted is answered as if the user had cancelled it,
// so a test never blocks.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

#include "shell/ui/modal_ui.h"

class QDialog;
class QWidget;

// What a script sees of a dialog after its initialisation.
class ScriptedDialog {
  public:
    explicit ScriptedDialog(ModalDialog& dialog) : modal_(&dialog), dialog_(dialog.widget()) {}

    QDialog* dialog() const { return dialog_; }
    QString title() const;
    QWidget* control(int id) const;
    QString text(int id) const;
    // Types into an edit (or a combo box's edit) as a user would.
    void setText(int id, const QString& text);
    void setChecked(int id, bool checked);
    void selectRow(int listId, int row);
    void selectItem(int comboId, int index);
    // Presses the button with this id (1 and 2 end the dialog).
    void press(int id);
    // Whether a press ended the dialog.
    bool ended() const { return modal_->ended(); }
    // The line that says what a refused field accepts; empty when none.
    QString hint() const;
    // Whether the hint line, as drawn, shows red letters (a refusal).
    bool hintLooksRefused() const;
    // The id of the control that has (or will have when shown) the focus.
    int focusedControl() const;

  private:
    ModalDialog* modal_;
    QDialog* dialog_;
};

namespace dialogScript {

using DialogStep = std::function<void(ScriptedDialog&)>;
using FileDialogStep = std::function<FileDialogAnswer(const FileDialogRequest&)>;
// Answers a choice from its items and the one marked at first: the index
// chosen, -1 for Cancel.
using ChoiceStep = std::function<int(const QStringList& items, int selected)>;

// Starts script mode; end() leaves it and drops what was not consumed.
void begin();
void end();

// Steps are consumed in order, one per interaction of their kind.
void pushDialog(DialogStep step);
void pushFileDialog(FileDialogStep step);
// The next popup menu answers with this command (0: dismissed).
void pushPopup(int commandId);
// The next "Save changes?" question answers with this (unscripted: Cancel).
void pushSaveChoice(SaveChoice choice);
// The next yes/no question answers with this (unscripted: No).
void pushAnswer(bool yes);
// The next number asked for answers with this (unscripted: cancelled).
void pushNumber(double value);
// The next choice from a list answers through `step` (unscripted: cancelled).
void pushChoice(ChoiceStep step);
// The next "Restore the unsaved changes?" answers with this (unscripted: Later).
void pushRestoreChoice(RestoreChoice choice);
// A file dialog step that chooses `path` with the filter `filterIndex`.
void pushFile(const QString& path, int filterIndex);

// The file dialog requests seen, oldest first.
const QList<FileDialogRequest>& fileRequests();
// Message box texts, not shown but recorded.
const QStringList& messages();
// The questions asked ("Save changes?", yes/no, numbers, choices and
// restores), oldest first.
const QStringList& questions();
// Documents asked to open, not opened but recorded.
const QList<QUrl>& openedUrls();
// What openUrl answers from now on (true: the document opened).
void setOpenUrlResult(bool opened);

} // namespace dialogScript

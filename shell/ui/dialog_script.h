// A test hook that plays the user in modal interactions: dialogs built from
// templates, the open and save file dialogs and popup menus consult it before
// showing anything. While a script is active, an interaction nobody scripted
// is answered as if the user had cancelled it, so a test never blocks.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QDialog;
class QWidget;

// What a script sees of a dialog after its initialisation.
class ScriptedDialog {
  public:
    explicit ScriptedDialog(QDialog* dialog) : dialog_(dialog) {}

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

  private:
    QDialog* dialog_;
};

struct FileDialogRequest {
    bool save = false;
    QString title;
    QStringList filters; // in the order shown; answers count from 1
    QString fileName;    // the name proposed
};

struct FileDialogAnswer {
    bool accepted = false;
    QString path;
    int filterIndex = 1; // 1-based
};

namespace dialogScript {

using DialogStep = std::function<void(ScriptedDialog&)>;
using FileDialogStep = std::function<FileDialogAnswer(const FileDialogRequest&)>;

// Starts script mode; end() leaves it and drops what was not consumed.
void begin();
void end();
bool active();

// Steps are consumed in order, one per interaction of their kind.
void pushDialog(DialogStep step);
void pushFileDialog(FileDialogStep step);
// The next popup menu answers with this command (0: dismissed).
void pushPopup(int commandId);
// A file dialog step that chooses `path` with the filter `filterIndex`.
void pushFile(const QString& path, int filterIndex);

// Consumers. False when no step is queued.
bool takeDialog(DialogStep& step);
bool takeFileDialog(FileDialogStep& step);
bool takePopup(int& commandId);

// The file dialog requests seen in script mode, oldest first.
void recordFileRequest(const FileDialogRequest& request);
const QList<FileDialogRequest>& fileRequests();
// Warnings are not shown in script mode; recorded instead.
void recordMessage(const QString& text);
const QStringList& messages();
// Help and other documents are not opened in script mode; recorded instead.
void recordOpenedUrl(const QUrl& url);
const QList<QUrl>& openedUrls();

} // namespace dialogScript

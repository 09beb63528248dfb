// The one seam for modal interaction: template dialogs, the open and save file
// dialogs, popup menus, message boxes and opening documents all go through the
// installed ModalUi. The program runs on the real one; tests install a script
// that plays the user, so no shipped code path asks whether it is under test.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>

class QDialog;
class QWidget;
struct MenuPopup;

struct FileDialogRequest {
    bool save = false;
    QString title;
    QStringList filters; // in the order shown; answers count from 1
    QString fileName;    // the name proposed
    int startFilter = 1; // 1-based: the filter the dialog starts on
    // What the dialog appends to a name typed without an extension; empty
    // leaves the name to the caller.
    QString defaultSuffix = QStringLiteral("INT");
    // An open dialog that takes several files at once.
    bool multiple = false;
};

struct FileDialogAnswer {
    bool accepted = false;
    QString path;
    int filterIndex = 1; // 1-based
    QStringList paths;   // every file chosen, `path` the first
};

// The answers to "Save changes to ...?".
enum class SaveChoice { Save, Discard, Cancel };

// The answers to "Restore the unsaved changes to ...?" after a crash; Later
// keeps the copy for the next start.
enum class RestoreChoice { Restore, Discard, Later };

// A dialog built from a template, initialised and ready to be shown.
class ModalDialog {
  public:
    virtual ~ModalDialog() = default;
    virtual QDialog* widget() = 0;
    virtual bool ended() const = 0;
    // Closes it as a user's Cancel would.
    virtual void cancel() = 0;
};

class ModalUi {
  public:
    virtual ~ModalUi() = default;
    // Runs the dialog until it ends; returns its end result.
    virtual int runDialog(ModalDialog& dialog) = 0;
    virtual FileDialogAnswer fileDialog(QWidget* owner, const FileDialogRequest& request) = 0;
    // The chosen command of `popup` shown at `globalPos`; 0 when dismissed.
    virtual int popupMenu(const MenuPopup& popup, QWidget* owner, const QPoint& globalPos) = 0;
    // A message box titled "Ondarix".
    virtual void message(QWidget* parent, const QString& text) = 0;
    // A question titled "Ondarix" with Save, Discard and Cancel; closing it
    // without a choice is Cancel, and so is an interaction that asks nobody.
    virtual SaveChoice askSaveChanges(QWidget*, const QString&) { return SaveChoice::Cancel; }
    // A question titled "Ondarix" with Yes and No, No the default; closing it
    // is No, and so is an interaction that asks nobody.
    virtual bool askYesNo(QWidget*, const QString&) { return false; }
    // A positive number asked for in a box titled "Ondarix", its field empty;
    // on OK `*value` is the answer; false when cancelled or nobody asked.
    virtual bool askNumber(QWidget*, const QString&, double*) { return false; }
    // One of `items` chosen from a list below `text` in a box titled
    // "Ondarix", `selected` marked at first; the index chosen, or -1 when
    // cancelled or nobody asked.
    virtual int askChoice(QWidget*, const QString&, const QStringList&, int) { return -1; }
    // A question titled "Ondarix" with Restore and Discard, one of which must
    // be chosen; an interaction that asks nobody leaves the copy for later.
    virtual RestoreChoice askRestore(QWidget*, const QString&) { return RestoreChoice::Later; }
    // Opens a document with the desktop's handler; false when that failed.
    virtual bool openUrl(const QUrl& url) = 0;
};

// The installed interaction; the real one when nothing else is installed.
ModalUi& modalUi();
// Installs `ui` (null: the real one again).
void setModalUi(ModalUi* ui);

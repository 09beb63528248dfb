// The run of the desktop program around its message loop: the start in its
// fixed order, and what happens after the loop has ended.
#pragma once

#include <QStringList>

#include <memory>
#include <string>

#include "shell/ui/qt_clipboard.h"

class CMainFrame;

// The command line after the program's name, as one path: the arguments
// joined by blanks; a path in double quotes loses its quotes.
QString commandLineText(const QStringList& arguments);

// Opens a measurement named on the command line in `frame`; the feature that
// owns measurement windows sets it (none: the name is ignored).
using CommandLineOpener = void (*)(CMainFrame& frame, const std::string& path);
void setCommandLineOpener(CommandLineOpener opener);

// A feature's part of the start: run on the shown frame, in the order added,
// before the command-line file opens (the offer to restore unsaved work left
// by a program that died, for one).
using StartUpStep = void (*)(CMainFrame& frame);
void addStartUpStep(StartUpStep step);

class OndarixApp {
  public:
    OndarixApp();
    ~OndarixApp();

    // Settings, window classes, placement, the frame, and the command-line
    // file. False when the program must end at once.
    bool startUp(const QString& commandLine);
    CMainFrame* frame() const { return frame_.get(); }
    // After the loop: the frame goes (saving its placement) with its
    // children, then the options are saved; a failed save is shown.
    void finish();

  private:
    void openCommandLineFile(const QString& path);

    std::unique_ptr<CMainFrame> frame_;
    QtClipboard clipboard_;
};

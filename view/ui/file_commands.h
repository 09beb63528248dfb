// The frame's file commands: Open in four formats (chosen by a known
// extension, else by the dialog's file type), Save as in three (by the
// dialog's file type) and Save block as text.
#pragma once

#include <QStringList>

#include <string>

#include "measure/measure_file.h"
#include "shell/ui/command_group.h"

class CMainFrame;
class CMeasure;
class QWidget;
class CMeasureWnd;

// File types of the dialogs, in the order shown.
QStringList openFileTypes();
QStringList saveFileTypes();
QStringList blockFileTypes();

class FileCommands : public CommandGroup {
  public:
    explicit FileCommands(CMainFrame& frame) : frame_(frame) {}

    // Open, Save as and Save block.
    bool OnCommand(int id) override;

    void OnOpen();
    void OnSaveAs();
    void OnSaveBlock();

  private:
    CMainFrame& frame_;
};

// Reads `path` with the reader of `type` and opens a measure window on it;
// a file that cannot be read opens nothing and says why in a message.
CMeasureWnd* openMeasureFile(CMainFrame& frame, const std::string& path, FileType type);

// "Save as" of `window`'s measurement, its dialogs owned by `owner`: asks
// for the file and its type and writes it. True when it was written; false
// when the user cancelled or the write failed (said in a message).
bool saveMeasureAs(QWidget* owner, CMeasureWnd& window);

// Opens a measure window in the frame's MDI area on `measure`, which the
// window then owns. Null (and the measurement released) when no window could
// be made.
// `seen`: the measurement's extremes gathered while it was read, if any.
CMeasureWnd* openMeasureWindow(CMainFrame& frame, CMeasure* measure,
                               const ChannelExtremes* seen = nullptr);

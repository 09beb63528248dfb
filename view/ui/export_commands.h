// File -> "Export plot...": the active window as a PNG, SVG or PDF picture
// of a chosen size.
#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>

#include "shell/ui/command_group.h"
#include "view/ui/plot_text_log.h"

class CMainFrame;
class CMeasureWnd;

// What File -> Export writes of `window` (which has a view) at `size`: the
// picture the window paints of itself, or else its view laid out at that size.
QImage exportPicture(const CMeasureWnd& window, QSize size, PlotTextLog* log);

// File types of the export dialog, in the order shown: PNG, SVG, PDF.
QStringList exportFileTypes();

class ExportCommands : public CommandGroup {
  public:
    explicit ExportCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;
    void OnExportPlot();

  private:
    CMainFrame& frame_;
};

// File -> "Export plot...": the active window's view as a PNG, SVG or PDF
// picture of a chosen size.
#pragma once

#include <QStringList>

#include "shell/ui/command_group.h"

class CMainFrame;

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

// File -> "Report...": the test report of the active window's measurement,
// its block as the analysed range, written as HTML or PDF and then opened.
#pragma once

#include <QStringList>

#include "report/report_options.h"
#include "shell/ui/command_group.h"

class CMainFrame;
class CMeasureView;

// File types of the report dialog, in the order shown: HTML, PDF.
QStringList reportFileTypes();

// The options of a report of what `view` shows: every channel, over the
// block's rows when a block is selected, over the whole record otherwise.
ReportOptions reportOptionsOf(const CMeasureView& view);

class ReportCommands : public CommandGroup {
  public:
    explicit ReportCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;
    void OnReport();

  private:
    CMainFrame& frame_;
};

// Analysis -> "Analyse files...": several files chosen at once, a wave
// analysis and its options from the analysis's own run dialog (on the first
// file that reads), and a table window with one row per file.
#pragma once

#include "shell/ui/command_group.h"
#include "waves/wave_result.h"

class CMainFrame;
class CMeasure;

class FileSeriesCommands : public CommandGroup {
  public:
    explicit FileSeriesCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    void run();
    // The run dialog on `first`; false when cancelled.
    bool askOptions(WaveAnalysis kind, const CMeasure& first, WaveRunOptions& options);

    CMainFrame& frame_;
    int lastKind_ = 0;
    // Each analysis starts from the options of its last run over files.
    WaveRunOptions last_[3];
};

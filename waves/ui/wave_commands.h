// The Analysis menu's wave analyses on the active window's block: "&Wave
// statistics...", "S&pectrum..." and "&Reflection...". Each shows its run
// dialog and, on OK, opens a result window with what the dialog computed.
#pragma once

#include "shell/ui/command_group.h"
#include "waves/wave_result.h"

class CMainFrame;

class WaveCommands : public CommandGroup {
  public:
    explicit WaveCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    void run(WaveAnalysis kind, WaveRunOptions& last);

    CMainFrame& frame_;
    // Each analysis starts from the options of its last run in this session.
    WaveRunOptions statistics_, spectrum_, reflection_;
};

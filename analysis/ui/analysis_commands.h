// The Analysis menu's "&Fourier" on the active window's block: the run
// dialog and, on OK, a spectrum window that computes at once.
#pragma once

#include "shell/ui/command_group.h"

class CMainFrame;

class AnalysisCommands : public CommandGroup {
  public:
    explicit AnalysisCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    void OnFourier();

    CMainFrame& frame_;
};

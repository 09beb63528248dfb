// The Analysis menu's "&Approximation" on the active window's block: the run
// dialog on the channel's components and, on OK, an approximation window.
#pragma once

#include "shell/ui/command_group.h"

class CMainFrame;

class AproxCommands : public CommandGroup {
  public:
    explicit AproxCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    void OnApproximation();

    CMainFrame& frame_;
};

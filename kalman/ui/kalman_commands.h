// The Analysis menu's "&Kalman" on the active window's block: the run dialog
// on the channel's components and, on OK, a Kalman result window.
#pragma once

#include "shell/ui/command_group.h"

class CMainFrame;

class KalmanCommands : public CommandGroup {
  public:
    explicit KalmanCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    void OnKalman();

    CMainFrame& frame_;
};

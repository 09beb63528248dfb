// The frame commands about the active window's measurement itself: "&Info..."
// (its configuration) and "&Statistic..." of the block.
#pragma once

#include "shell/ui/command_group.h"

class CMainFrame;

class MeasureCommands : public CommandGroup {
  public:
    explicit MeasureCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    void OnInfo();
    void OnStatistic();

    CMainFrame& frame_;
};

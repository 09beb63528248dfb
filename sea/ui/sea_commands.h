// Generate -> "&Irregular sea...": the dialog on the parameters of the last
// drive made in this session and, on OK, a window with the new drive.
#pragma once

#include <string>

#include "sea/sea_parameters.h"
#include "shell/ui/command_group.h"

class CMainFrame;

class SeaCommands : public CommandGroup {
  public:
    explicit SeaCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    CMainFrame& frame_;
    SeaParameters last_;
    std::string lastTable_;
};

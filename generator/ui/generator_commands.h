// "&Kalman models" of the Generate menu: the generator dialog on the global
// parameters and, on OK, a generator window synthesised from them.
#pragma once

#include "shell/ui/command_group.h"

class CMainFrame;

class GeneratorCommands : public CommandGroup {
  public:
    explicit GeneratorCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    CMainFrame& frame_;
};

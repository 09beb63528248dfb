// The Options menu: each item edits one process-wide settings record in its
// dialog; the records are saved at the end of the run.
#pragma once

#include "shell/ui/command_group.h"

class QWidget;

class OptionCommands : public CommandGroup {
  public:
    explicit OptionCommands(QWidget* owner) : owner_(owner) {}

    // "&Fourier...", "&Kalman..." and "&Approximation..." of the Options menu.
    bool OnCommand(int id) override;

  private:
    QWidget* owner_;
};

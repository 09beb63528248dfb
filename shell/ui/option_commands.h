// The Options menu: each item edits one process-wide settings record in its
// dialog; the records are saved at the end of the run.
#pragma once

#include "shell/ui/command_group.h"

class QWidget;

class OptionCommands : public CommandGroup {
  public:
    explicit OptionCommands(QWidget* owner) : owner_(owner) {}

    // The items of the Options menu, each to the dialog its feature added.
    bool OnCommand(int id) override;

  private:
    QWidget* owner_;
};

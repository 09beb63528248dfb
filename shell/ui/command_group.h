// Frame commands of one subsystem, carried out beside its user interface so
// that the frame's command file does not grow with every dialog and window.
#pragma once

class CommandGroup {
  public:
    virtual ~CommandGroup() = default;
    // Carries out `id` when it is one of the group's; false otherwise.
    virtual bool OnCommand(int id) = 0;
};

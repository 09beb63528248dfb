#include "shell/ui/option_commands.h"

#include "shell/ui/option_dialogs.h"

bool OptionCommands::OnCommand(int id) {
    return openOptionDialog(id, owner_);
}

#include "sea/ui/sea_feature.h"

#include "sea/ui/sea_commands.h"
#include "sea/ui/sea_dialog_templates.h"
#include "shell/ui/command_groups.h"

void registerSea() {
    registerSeaDialogTemplates();
    addCommandGroup<SeaCommands>();
}

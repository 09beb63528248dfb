#include "view/ui/view_feature.h"

#include "shell/ui/command_groups.h"
#include "view/ui/description_watch.h"
#include "view/ui/export_commands.h"
#include "view/ui/view_dialog_templates.h"

void registerView() {
    registerViewDialogTemplates();
    addCommandGroup<ExportCommands>();
    addCommandWatch(watchDescription);
}

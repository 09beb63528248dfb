#include "measure/ui/measure_feature.h"

#include "measure/ui/measure_commands.h"
#include "measure/ui/measure_dialog_templates.h"
#include "shell/ui/command_groups.h"

void registerMeasure() {
    registerMeasureDialogTemplates();
    addCommandGroup<MeasureCommands>();
}

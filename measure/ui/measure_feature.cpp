#include "measure/ui/measure_feature.h"

#include "measure/ui/measure_commands.h"
#include "measure/ui/measure_dialog_templates.h"
#include "measure/ui/recovery_offer.h"
#include "shell/ui/application.h"
#include "shell/ui/command_groups.h"

void registerMeasure() {
    registerMeasureDialogTemplates();
    addCommandGroup<MeasureCommands>();
    // Unsaved changes survive a crash of the program.
    addStartUpStep(&startRecovery);
    addCommandWatch(recoveryAfterCommand);
}

#include "report/ui/report_feature.h"

#include "report/ui/report_commands.h"
#include "shell/ui/command_groups.h"

void registerReport() {
    addCommandGroup<ReportCommands>();
}

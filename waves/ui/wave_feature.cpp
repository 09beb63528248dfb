#include "waves/ui/wave_feature.h"

#include "shell/ui/command_groups.h"
#include "waves/ui/file_series_commands.h"
#include "waves/ui/wave_commands.h"
#include "waves/ui/wave_dialog_templates.h"

void registerWaves() {
    registerWaveDialogTemplates();
    addCommandGroup<WaveCommands>();
    addCommandGroup<FileSeriesCommands>();
}

#include "analysis/ui/analysis_feature.h"

#include "analysis/fourier_options.h"
#include "analysis/ui/analysis_commands.h"
#include "analysis/ui/analysis_dialog_templates.h"
#include "analysis/ui/fft_options_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/command_groups.h"
#include "shell/ui/option_dialogs.h"

void registerAnalysis() {
    registerAnalysisDialogTemplates();
    registerFourierSettings();
    addCommandGroup<AnalysisCommands>();
    addOptionDialog(CMD_FOURIER_OPTIONS, [](QWidget* owner) {
        CFftOptionsDlg dialog(&globalFourierOptions);
        showDialog(dialog, owner, DIALOG_FOURIER_OPTIONS);
    });
}

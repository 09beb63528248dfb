#include "kalman/ui/kalman_feature.h"

#include "kalman/kalman_options.h"
#include "kalman/ui/kalman_commands.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "kalman/ui/kalman_options_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/command_groups.h"
#include "shell/ui/option_dialogs.h"

void registerKalman() {
    registerKalmanDialogTemplates();
    registerKalmanSettings();
    addCommandGroup<KalmanCommands>();
    addOptionDialog(CMD_KALMAN_OPTIONS, [](QWidget* owner) {
        CKalmanOptionsDlg dialog(&globalKalmanOptions);
        showDialog(dialog, owner, DIALOG_KALMAN_OPTIONS);
    });
}

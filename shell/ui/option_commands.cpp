#include "shell/ui/option_commands.h"

#include "shell/command_ids.h"
#include "shell/settings.h"
#include "shell/ui/aprox_options_dlg.h"
#include "shell/ui/fft_options_dlg.h"
#include "shell/ui/kalman_options_dlg.h"
#include "shell/ui/shell_dialog_templates.h"

bool OptionCommands::OnCommand(int id) {
    switch (id) {
    case CMD_FOURIER_OPTIONS: {
        CFftOptionsDlg dialog(&globalFourierOptions);
        showDialog(dialog, owner_, DIALOG_FOURIER_OPTIONS);
        return true;
    }
    case CMD_KALMAN_OPTIONS: {
        CKalmanOptionsDlg dialog(&globalKalmanOptions);
        showDialog(dialog, owner_, DIALOG_KALMAN_OPTIONS);
        return true;
    }
    case CMD_APROX_OPTIONS: {
        CAproxOptionsDlg dialog(&globalAproxOptions);
        showDialog(dialog, owner_, DIALOG_APROX_OPTIONS);
        return true;
    }
    default:
        return false;
    }
}

#include "aprox/ui/aprox_feature.h"

#include "aprox/aprox_options.h"
#include "aprox/ui/aprox_commands.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "aprox/ui/aprox_options_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/command_groups.h"
#include "shell/ui/option_dialogs.h"

void registerAprox() {
    registerAproxDialogTemplates();
    registerAproxSettings();
    addCommandGroup<AproxCommands>();
    addOptionDialog(CMD_APROX_OPTIONS, [](QWidget* owner) {
        CAproxOptionsDlg dialog(&globalAproxOptions);
        showDialog(dialog, owner, DIALOG_APROX_OPTIONS);
    });
}

#include "generator/ui/generator_commands.h"

#include "generator/generator_parameters.h"
#include "generator/ui/generator_dialog_templates.h"
#include "generator/ui/generator_wnd.h"
#include "generator/ui/parametry_generatora_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/main_frame.h"

bool GeneratorCommands::OnCommand(int id) {
    if (id != CMD_GENERATE) return false;
    CParametryGeneratoraDlg dialog(&globalGeneratorParameters);
    if (showDialog(dialog, &frame_, DIALOG_GENERATOR) != 1) return true;
    // Never maximised: a generator window opens at the default place.
    showInNewWindow(frame_, new CGeneratorWnd,
                    OwnedMeasure(new CGenerator(globalGeneratorParameters)));
    return true;
}

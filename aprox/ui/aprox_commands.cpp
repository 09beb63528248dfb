#include "aprox/ui/aprox_commands.h"

#include "analysis/ui/analysis_run.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "aprox/ui/aprox_wnd.h"
#include "aprox/ui/parametry_aproksymacji_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/main_frame.h"

bool AproxCommands::OnCommand(int id) {
    if (id != CMD_APPROXIMATION) return false;
    OnApproximation();
    return true;
}

void AproxCommands::OnApproximation() {
    CMeasure* measure = nullptr;
    BlockRange block{};
    if (!activeBlock(frame_, measure, block)) return;
    CParametryAproksymacjiDlg dialog(&measure->signalParameters[block.channel], &globalAproxOptions,
                                     &block, *measure);
    if (showDialog(dialog, &frame_, DIALOG_APROX) != 1) return;
    openResult(frame_, new CAproxWnd, new CAprox(measure, block, globalAproxOptions),
               aproxRefusal(measure, block, globalAproxOptions));
}

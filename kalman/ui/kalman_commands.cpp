#include "kalman/ui/kalman_commands.h"

#include "analysis/ui/analysis_run.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "kalman/ui/kalman_wnd.h"
#include "kalman/ui/parametry_kalmana_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/main_frame.h"

bool KalmanCommands::OnCommand(int id) {
    if (id != CMD_KALMAN) return false;
    OnKalman();
    return true;
}

void KalmanCommands::OnKalman() {
    CMeasure* measure = nullptr;
    BlockRange block{};
    if (!activeBlock(frame_, measure, block)) return;
    CParametryKalmanaDlg dialog(&measure->signalParameters[block.channel], &globalKalmanOptions,
                                &block, *measure);
    if (showDialog(dialog, &frame_, DIALOG_KALMAN) != 1) return;
    auto* result = new CKalman(measure, block, globalKalmanOptions);
    openResult(frame_, new CKalmanWnd, result, result->RunProblem());
}

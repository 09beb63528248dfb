#include "analysis/ui/analysis_commands.h"

#include "analysis/ui/analysis_dialog_templates.h"
#include "analysis/ui/analysis_run.h"
#include "analysis/ui/fft_wnd.h"
#include "analysis/ui/parametry_fouriera_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/main_frame.h"

bool AnalysisCommands::OnCommand(int id) {
    if (id != CMD_FOURIER) return false;
    OnFourier();
    return true;
}

void AnalysisCommands::OnFourier() {
    CMeasure* measure = nullptr;
    BlockRange block{};
    if (!activeBlock(frame_, measure, block)) return;
    CParametryFourieraDlg dialog(&globalFourierOptions, &block, *measure);
    if (showDialog(dialog, &frame_, DIALOG_FOURIER) != 1) return;
    // The dialog may have named another channel of the same measurement.
    RangeCheck check = checkRange(measure, block);
    openResult(frame_, new CFftWnd, new CFft(measure, block, globalFourierOptions),
               check == RangeCheck::Ok ? nullptr : rangeCheckText(check));
}

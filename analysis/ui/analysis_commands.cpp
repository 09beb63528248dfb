#include "analysis/ui/analysis_commands.h"

#include "analysis/ui/analysis_dialog_templates.h"
#include "analysis/ui/fft_wnd.h"
#include "analysis/ui/parametry_fouriera_dlg.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "aprox/ui/aprox_wnd.h"
#include "aprox/ui/parametry_aproksymacji_dlg.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "kalman/ui/kalman_wnd.h"
#include "kalman/ui/parametry_kalmana_dlg.h"
#include "measure/text_encoding.h"
#include "shell/command_ids.h"
#include "shell/settings.h"
#include "shell/ui/frame_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/warning_message.h"

namespace {

// Kalman and the approximation work on the channel's wave components; a
// channel without any would give nothing but its rest. Says so, and where
// the components are added; false then.
bool hasComponents(QWidget* owner, const CMeasure& measure, int channel, const char* analysis) {
    if (measure.signalParameters[channel].componentCount > 0) return true;
    showWarning(owner, QStringLiteral("Channel %1 (%2) has no wave components for %3 to work "
                                      "on. Add them with Edit → Block info... on a block of "
                                      "this channel, then run %3 again.")
                           .arg(QString::number(channel),
                                QString::fromStdString(displayText(measure.channels[channel].name)),
                                QLatin1String(analysis)));
    return false;
}

} // namespace

bool AnalysisCommands::OnCommand(int id) {
    switch (id) {
    case CMD_FOURIER:
        OnFourier();
        return true;
    case CMD_KALMAN:
        OnKalman();
        return true;
    case CMD_APPROXIMATION:
        OnApproximation();
        return true;
    default:
        return false;
    }
}

bool AnalysisCommands::activeBlock(CMeasure*& measure, BlockRange& block) {
    measure = frame_.commands().childMeasure();
    if (!measure) return false;
    block = frame_.commands().childBlock();
    if (measure->hasChannel(block.channel)) return true;
    showWarning(&frame_, QStringLiteral("The window holds no channel to analyse."));
    return false;
}

void AnalysisCommands::openResult(CResultWnd* window, CCalculation* result, const char* problem) {
    OwnedMeasure owned(result);
    const std::string why = problem ? std::string(problem) : result->blockRefusal();
    if (!why.empty()) {
        delete window;
        showWarning(
            &frame_,
            QStringLiteral("The analysis was not started: %1.").arg(QString::fromStdString(why)));
        return;
    }
    showInNewWindow(frame_, window, std::move(owned), frame_.activeChildMaximized());
}

void AnalysisCommands::OnFourier() {
    CMeasure* measure = nullptr;
    BlockRange block{};
    if (!activeBlock(measure, block)) return;
    CParametryFourieraDlg dialog(&globalFourierOptions, &block, *measure);
    if (showDialog(dialog, &frame_, DIALOG_FOURIER) != 1) return;
    // The dialog may have named another channel of the same measurement.
    RangeCheck check = checkRange(measure, block);
    openResult(new CFftWnd, new CFft(measure, block, globalFourierOptions),
               check == RangeCheck::Ok ? nullptr : rangeCheckText(check));
}

void AnalysisCommands::OnKalman() {
    CMeasure* measure = nullptr;
    BlockRange block{};
    if (!activeBlock(measure, block)) return;
    if (!hasComponents(&frame_, *measure, block.channel, "Kalman")) return;
    CParametryKalmanaDlg dialog(&measure->signalParameters[block.channel], &globalKalmanOptions,
                                &block, *measure);
    if (showDialog(dialog, &frame_, DIALOG_KALMAN) != 1) return;
    auto* result = new CKalman(measure, block, globalKalmanOptions);
    openResult(new CKalmanWnd, result, result->RunProblem());
}

void AnalysisCommands::OnApproximation() {
    CMeasure* measure = nullptr;
    BlockRange block{};
    if (!activeBlock(measure, block)) return;
    if (!hasComponents(&frame_, *measure, block.channel, "the approximation")) return;
    CParametryAproksymacjiDlg dialog(&measure->signalParameters[block.channel], &globalAproxOptions,
                                     &block, *measure);
    if (showDialog(dialog, &frame_, DIALOG_APROX) != 1) return;
    openResult(new CAproxWnd, new CAprox(measure, block, globalAproxOptions),
               aproxRefusal(measure, block, globalAproxOptions));
}

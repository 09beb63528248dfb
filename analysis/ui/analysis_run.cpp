#include "analysis/ui/analysis_run.h"

#include "analysis/calculation.h"
#include "analysis/ui/result_wnd.h"
#include "measure/owned_measure.h"
#include "measure/text_encoding.h"
#include "shell/ui/frame_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/warning_message.h"

bool activeBlock(CMainFrame& frame, CMeasure*& measure, BlockRange& block) {
    measure = frame.commands().childMeasure();
    if (!measure) return false;
    block = frame.commands().childBlock();
    if (measure->hasChannel(block.channel)) return true;
    showWarning(&frame, QStringLiteral("The window holds no channel to analyse."));
    return false;
}

void openResult(CMainFrame& frame, CResultWnd* window, CCalculation* result, const char* problem) {
    OwnedMeasure owned(result);
    const std::string why = problem ? std::string(problem) : result->blockRefusal();
    if (!why.empty()) {
        delete window;
        showWarning(
            &frame,
            QStringLiteral("The analysis was not started: %1.").arg(QString::fromStdString(why)));
        return;
    }
    showInNewWindow(frame, window, std::move(owned), frame.activeChildMaximized());
}

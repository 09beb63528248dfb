#include "waves/ui/wave_commands.h"

#include "shell/command_ids.h"
#include "shell/ui/frame_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/warning_message.h"
#include "waves/ui/wave_result_wnd.h"
#include "waves/ui/wave_run_dlg.h"

namespace {

// The block's channel and the ones after it, up to three gauges, unless the
// last run named gauges this measurement has.
std::vector<int32_t> gaugesFor(const CMeasure& m, int32_t channel,
                               const std::vector<int32_t>& last) {
    bool lastFits = last.size() >= 2;
    for (int32_t c : last)
        lastFits = lastFits && m.hasChannel(c);
    if (lastFits) return last;
    std::vector<int32_t> gauges;
    for (int32_t c = channel; c < m.channelCount && gauges.size() < 3; ++c)
        gauges.push_back(c);
    return gauges;
}

} // namespace

bool WaveCommands::OnCommand(int id) {
    switch (id) {
    case CMD_WAVE_STATISTICS:
        run(WaveAnalysis::Statistics, statistics_);
        return true;
    case CMD_SPECTRUM:
        run(WaveAnalysis::Spectrum, spectrum_);
        return true;
    case CMD_REFLECTION:
        run(WaveAnalysis::Reflection, reflection_);
        return true;
    default:
        return false;
    }
}

void WaveCommands::run(WaveAnalysis kind, WaveRunOptions& last) {
    CMeasure* measure = frame_.commands().childMeasure();
    if (!measure) return;
    BlockRange block = frame_.commands().childBlock();
    if (!measure->hasChannel(block.channel)) {
        showWarning(&frame_, QStringLiteral("The window holds no channel to analyse."));
        return;
    }
    // The selected block, or the whole channel when nothing is selected.
    WaveRunOptions options = last;
    options.from = block.from == block.to ? 0 : block.from;
    options.to = block.from == block.to ? measure->sampleCount : block.to;
    options.channels = kind == WaveAnalysis::Reflection
                           ? gaugesFor(*measure, block.channel, last.channels)
                           : std::vector<int32_t>{block.channel};
    CWaveRunDlg dialog(kind, &options, *measure);
    if (showDialog(dialog, &frame_, CWaveRunDlg::templateOf(kind)) != 1 || !dialog.created) return;
    last = options;
    // The series open as a record of their own, so that any analysis runs on them.
    std::unique_ptr<CMeasure> series = std::move(dialog.created->series);
    showInNewWindow(frame_, new CWaveResultWnd, OwnedMeasure(dialog.created.release()),
                    frame_.activeChildMaximized());
    if (series)
        showInNewWindow(frame_, new CMeasureWnd, OwnedMeasure(series.release()),
                        frame_.activeChildMaximized());
}

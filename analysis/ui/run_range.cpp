#include "analysis/ui/run_range.h"

#include "analysis/ui/analysis_dialog_templates.h"

void showRunRange(CDialog& dialog, const BlockRange& range) {
    dialog.setInt(IDC_RUN_CHANNEL, range.channel);
    dialog.setInt(IDC_RUN_FROM, range.from);
    dialog.setInt(IDC_RUN_TO, range.to);
}

bool readRunRange(CDialog& dialog, const CMeasure& source, BlockRange& range) {
    BlockRange read = range;
    if (!dialog.readInt(IDC_RUN_CHANNEL, read.channel, 0, source.channelCount - 1) ||
        !dialog.readInt(IDC_RUN_FROM, read.from, 0, source.sampleCount) ||
        !dialog.readInt(IDC_RUN_TO, read.to, 0, source.sampleCount))
        return false;
    range = read;
    return true;
}

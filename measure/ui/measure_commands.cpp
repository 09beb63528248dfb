#include "measure/ui/measure_commands.h"

#include "measure/finite_block.h"
#include "measure/statistics.h"
#include "measure/statistics_report.h"
#include "measure/ui/file_info_dlg.h"
#include "measure/ui/measure_dialog_templates.h"
#include "measure/ui/statystyka_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/frame_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/warning_message.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

bool MeasureCommands::OnCommand(int id) {
    switch (id) {
    case CMD_INFO:
        OnInfo();
        return true;
    case CMD_STATISTIC:
        OnStatistic();
        return true;
    default:
        return false;
    }
}

void MeasureCommands::OnInfo() {
    CMeasure* measure = frame_.commands().childMeasure();
    if (!measure) return;
    CFileInfoDlg dialog(measure);
    if (showDialog(dialog, &frame_, DIALOG_MEASURE_CONFIGURATION) != 1) return;
    // Names, units and so the shared scales may have changed.
    if (auto* window = dynamic_cast<CMeasureWnd*>(frame_.activeChild()); window && window->view)
        window->view->Refresh();
}

void MeasureCommands::OnStatistic() {
    BlockRange block = frame_.commands().childBlock();
    if (block.from == block.to) return;
    CMeasure* measure = frame_.commands().childMeasure();
    SignalStatistics stats{};
    if (!measure || !prepareStatistics(stats, *measure, block)) return;
    const std::string why = nonFiniteRefusal(*measure, block);
    if (!why.empty()) {
        showWarning(&frame_, QStringLiteral("The statistics were not computed: %1.")
                                 .arg(QString::fromStdString(why)));
        return;
    }
    computeStatistics(stats, STAT_ALL);
    CStatystykaDlg dialog(statisticsReport(stats, block));
    showDialog(dialog, &frame_, DIALOG_STATISTIC);
}

#include "waves/ui/file_series_commands.h"

#include <QFile>
#include <QMdiArea>

#include <string>
#include <vector>

#include "measure/measure_file.h"
#include "shell/command_ids.h"
#include "shell/open_file_type.h"
#include "shell/ui/dialog.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/warning_message.h"
#include "view/ui/file_commands.h"
#include "waves/ui/file_table_wnd.h"
#include "waves/ui/wave_run_dlg.h"
#include "waves/wave_file_series.h"

namespace {

constexpr WaveAnalysis KINDS[] = {WaveAnalysis::Statistics, WaveAnalysis::Spectrum,
                                  WaveAnalysis::Reflection};

QStringList chooseFiles(CMainFrame& frame) {
    FileDialogRequest request;
    request.title = QStringLiteral("Analyse files");
    request.filters = openFileTypes();
    request.startFilter = allMeasurementsFilterIndex();
    request.multiple = true;
    const FileDialogAnswer answer = modalUi().fileDialog(&frame, request);
    if (!answer.accepted) return {};
    return answer.paths.isEmpty() ? QStringList{answer.path} : answer.paths;
}

// The first file that reads, for the dialog to propose and check against;
// false with the first file's reason when none does.
bool readFirst(const std::vector<std::string>& paths, CMeasure& first, std::string& why) {
    for (const std::string& path : paths) {
        std::string reason;
        if (readMeasure(first, path, fileTypeFromPath(path), &reason)) return true;
        if (why.empty()) why = path + ": " + reason;
    }
    return false;
}

} // namespace

bool FileSeriesCommands::OnCommand(int id) {
    if (id != CMD_ANALYSE_FILES) return false;
    run();
    return true;
}

bool FileSeriesCommands::askOptions(WaveAnalysis kind, const CMeasure& first,
                                    WaveRunOptions& options) {
    options.from = 0;
    options.to = first.sampleCount;
    if (kind != WaveAnalysis::Reflection) {
        if (options.channels.size() != 1 || !first.hasChannel(options.channels[0]))
            options.channels = {0};
    } else if (options.channels.size() < 2) {
        options.channels.clear();
        for (int32_t c = 0; c < first.channelCount && c < 3; ++c)
            options.channels.push_back(c);
    }
    CWaveRunDlg dialog(kind, &options, first);
    return showDialog(dialog, &frame_, CWaveRunDlg::templateOf(kind)) == 1 && dialog.created;
}

void FileSeriesCommands::run() {
    const QStringList chosen = chooseFiles(frame_);
    if (chosen.isEmpty()) return;
    QStringList names;
    for (WaveAnalysis kind : KINDS)
        names << QString::fromLatin1(waveAnalysisName(kind));
    const int index = modalUi().askChoice(
        &frame_, QStringLiteral("Which analysis shall run on the %1 files?").arg(chosen.size()),
        names, lastKind_);
    if (index < 0 || index >= int(names.size())) return;
    const WaveAnalysis kind = KINDS[index];
    std::vector<std::string> paths;
    for (const QString& path : chosen)
        paths.push_back(QFile::encodeName(path).toStdString());
    WaveRunOptions options = last_[index];
    int32_t firstRows = 0;
    {
        // Let go of the first record before the workers each read one.
        CMeasure first;
        std::string why;
        if (!readFirst(paths, first, why)) {
            showWarning(&frame_, QStringLiteral("None of the files could be read (%1).")
                                     .arg(QString::fromStdString(why)));
            return;
        }
        if (!askOptions(kind, first, options)) return;
        firstRows = first.sampleCount;
    }
    lastKind_ = index;
    last_[index] = options;
    // A block of the whole record is each file's whole record.
    const bool whole = options.from == 0 && options.to == firstRows;
    const std::vector<WaveFileRow> rows = analyseWaveFiles(paths, kind, options, whole);
    auto* window = new CFileTableWnd;
    if (window->Create(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       frame_.mdiClient(), 0)) {
        delete window;
        return;
    }
    window->showTable(waveFileTable(rows), QStringLiteral("%1 of %2 files")
                                               .arg(QString::fromLatin1(waveAnalysisName(kind)))
                                               .arg(rows.size()));
}

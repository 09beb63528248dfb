#include "report/ui/report_commands.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <string>
#include <vector>

#include "report/file_report.h"
#include "report/ui/report_writer.h"
#include "shell/command_ids.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/replace_question.h"
#include "shell/ui/warning_message.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

// The window's file name with .html in place of its own extension.
QString proposedName(const CMeasure& measure) {
    const QString path = QFile::decodeName(measure.path);
    if (path.isEmpty()) return QStringLiteral("report.html");
    const QFileInfo info(path);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".html");
}

// The chosen name with the extension of the chosen type when it has neither.
QString reportPath(const QString& chosen, int filterIndex) {
    ReportFormat format;
    if (reportFormatOfPath(QFile::encodeName(chosen).toStdString(), format)) return chosen;
    return chosen + (filterIndex == 2 ? QStringLiteral(".pdf") : QStringLiteral(".html"));
}

} // namespace

QStringList reportFileTypes() {
    return {QStringLiteral("HTML report (*.html)"), QStringLiteral("PDF report (*.pdf)")};
}

ReportOptions reportOptionsOf(const CMeasureView& view) {
    ReportOptions options;
    const BlockRange& b = view.block;
    const int32_t from = std::min(b.from, b.to), to = std::max(b.from, b.to);
    if (from < to) {
        options.from = from;
        options.to = to;
    }
    return options;
}

bool ReportCommands::OnCommand(int id) {
    if (id != CMD_REPORT) return false;
    OnReport();
    return true;
}

void ReportCommands::OnReport() {
    auto* window = dynamic_cast<CMeasureWnd*>(frame_.activeChild());
    if (!window || !window->view || !window->view->measure) return;
    const CMeasureView& view = *window->view;
    const CMeasure& measure = *view.measure;
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Report");
    request.filters = reportFileTypes();
    request.fileName = proposedName(measure);
    request.defaultSuffix.clear();
    FileDialogAnswer answer = modalUi().fileDialog(&frame_, request);
    if (!answer.accepted) return;
    const QString path = reportPath(answer.path, answer.filterIndex);
    if (!mayReplace(&frame_, path)) return;

    std::vector<FileReport> files;
    files.push_back(analyseFile(measure.path, measure, reportOptionsOf(view)));
    std::string why;
    if (!writeReport(files, QFile::encodeName(path).toStdString(),
                     path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
                         ? ReportFormat::Pdf
                         : ReportFormat::Html,
                     &why)) {
        showWarning(&frame_, QString::fromStdString(why));
        return;
    }
    // What could not be analysed is in the report too; it is said here once.
    const std::string failure = files[0].firstFailure();
    if (!failure.empty()) showWarning(&frame_, QString::fromStdString(failure));
    if (!modalUi().openUrl(QUrl::fromLocalFile(path)))
        showWarning(&frame_, QStringLiteral("no program of the desktop opened the report; open "
                                            "%1 in a web browser")
                                 .arg(path));
}

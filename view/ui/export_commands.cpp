#include "view/ui/export_commands.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include "shell/command_ids.h"
#include "shell/dialog_templates.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/replace_question.h"
#include "shell/ui/warning_message.h"
#include "view/export_layout.h"
#include "view/ui/export_size_dlg.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"
#include "view/ui/plot_export.h"
#include "view/ui/view_dialog_templates.h"

namespace {

ExportFormat formatOfFilter(int filterIndex) {
    switch (filterIndex) {
    case 2:
        return ExportFormat::Svg;
    case 3:
        return ExportFormat::Pdf;
    default:
        return ExportFormat::Png;
    }
}

// The window's file name with the picture's extension in place of its own.
QString proposedName(const CMeasure* measure) {
    QString path = measure ? QFile::decodeName(measure->path) : QString();
    if (path.isEmpty()) return QStringLiteral("plot.png");
    QFileInfo info(path);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".png");
}

} // namespace

QImage exportPicture(const CMeasureWnd& window, QSize size, PlotTextLog* log) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    bool painted = false;
    {
        QPainter painter(&image);
        painted = window.paintPicture(painter, size, log);
    }
    if (painted) return image;
    return viewPicture(exportLayout(*window.view, size.width(), size.height()));
}

QStringList exportFileTypes() {
    return {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
            QStringLiteral("PDF document (*.pdf)")};
}

bool ExportCommands::OnCommand(int id) {
    if (id != CMD_EXPORT_PLOT) return false;
    OnExportPlot();
    return true;
}

void ExportCommands::OnExportPlot() {
    auto* window = dynamic_cast<CMeasureWnd*>(frame_.activeChild());
    if (!window || !window->view) return;
    const CMeasureView& view = *window->view;
    if (view.sampleCount() == 0 || view.channelCount() == 0) {
        showWarning(&frame_, QStringLiteral("the window shows no samples; nothing to export"));
        return;
    }
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Export Plot");
    request.filters = exportFileTypes();
    request.fileName = proposedName(view.measure);
    // exportPath gives a bare name the extension of the chosen type.
    request.defaultSuffix.clear();
    FileDialogAnswer answer = modalUi().fileDialog(&frame_, request);
    if (!answer.accepted) return;
    ExportFormat format;
    const QString path = QFile::decodeName(exportPath(QFile::encodeName(answer.path).toStdString(),
                                                      formatOfFilter(answer.filterIndex), format)
                                               .c_str());
    if (!mayReplace(&frame_, path)) return;

    // The window's own size is what the user sees; it is only proposed.
    QSize size = window->pictureSize();
    size = size.expandedTo(QSize(MIN_EXPORT_SIDE, MIN_EXPORT_SIDE));
    CExportSizeDlg dialog(&size);
    if (showDialog(dialog, &frame_, DIALOG_EXPORT_SIZE) != IDOK) return;

    QString why;
    if (!writePicture(exportPicture(*window, size, nullptr), path, format, &why))
        showWarning(&frame_, why);
}

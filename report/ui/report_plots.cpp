#include "report/ui/report_plots.h"

#include <QByteArray>
#include <QFont>
#include <QPainter>
#include <QRegularExpression>
#include <QString>

#include <algorithm>

#include "view/export_format.h"
#include "view/export_layout.h"
#include "view/ui/plot_export.h"
#include "view/ui/plot_painter.h"
#include "waves/ui/result_curves.h"
#include "waves/ui/wave_result_plot.h"

namespace {

void paintOverview(QPainter& painter, const CMeasure& record, const QSize& size) {
    // The view only reads the samples it paints.
    MeasureViewState view =
        rangeLayout(const_cast<CMeasure&>(record), 0, std::max(record.sampleCount, 1), size.width(),
                    size.height());
    PlotPainter(view).paint(painter);
}

// The plot of `content` over the whole picture, in the application's font.
void paintContent(QPainter& painter, QSize size, const ResultPlotContent& content,
                  PlotTextLog* log) {
    paintResultPlot(painter, size, QFont(), content, log);
}

// Spectra of `kind` (a gauge's density and band, or incident and reflected)
// over the rows the result windows open on.
void paintSpectra(QPainter& painter, QSize size, const CMeasure& curves, WaveAnalysis kind,
                  const std::string& unit, PlotTextLog* log) {
    paintContent(painter, size, spectraPlot(curves, kind, unit, shownRows(curves, kind)), log);
}

} // namespace

QImage paintReportPlot(const std::vector<FileReport>& files, const ReportPlot& plot,
                       PlotTextLog* log) {
    QImage image(plot.width, plot.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const FileReport& f = files.at(plot.file);
    QPainter painter(&image);
    const QSize size = image.size();
    switch (plot.kind) {
    case ReportPlotKind::Overview:
        if (f.record) paintOverview(painter, *f.record, size);
        break;
    case ReportPlotKind::Spectrum:
        if (const GaugeReport& g = f.gauges.at(plot.gauge); g.spectrumCurves)
            paintSpectra(painter, size, *g.spectrumCurves, WaveAnalysis::Spectrum, g.unit, log);
        break;
    case ReportPlotKind::Exceedance:
        if (const GaugeReport& g = f.gauges.at(plot.gauge); g.exceedance)
            paintContent(painter, size, exceedancePlot(*g.exceedance, g.unit), log);
        break;
    case ReportPlotKind::Reflection:
        if (f.reflectionCurves)
            paintSpectra(painter, size, *f.reflectionCurves, WaveAnalysis::Reflection,
                         f.reflectionUnit, log);
        break;
    }
    return image;
}

std::string inlineSvg(const QImage& image) {
    QByteArray bytes;
    if (!renderPicture(image, ExportFormat::Svg, bytes)) return {};
    // The XML declaration has no place inside HTML.
    const qsizetype start = bytes.indexOf("<svg");
    if (start < 0) return {};
    QString svg = QString::fromUtf8(bytes.mid(start));
    // The generator gives millimetres; a page lays the plot out in CSS pixels.
    const qsizetype end = svg.indexOf('>');
    QString tag = svg.left(end);
    tag.replace(QRegularExpression(QStringLiteral("width=\"[0-9.]+mm\"")),
                QStringLiteral("width=\"%1\"").arg(image.width()));
    tag.replace(QRegularExpression(QStringLiteral("height=\"[0-9.]+mm\"")),
                QStringLiteral("height=\"%1\"").arg(image.height()));
    return (tag + svg.mid(end)).toStdString();
}

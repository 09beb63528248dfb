#include "report/ui/report_plots.h"

#include <QByteArray>
#include <QPainter>
#include <QRegularExpression>
#include <QString>

#include <algorithm>

#include "view/export_format.h"
#include "view/export_layout.h"
#include "view/ui/plot_export.h"
#include "view/ui/plot_painter.h"
#include "waves/ui/wave_result_plot.h"

namespace {

void paintOverview(QPainter& painter, const CMeasure& record, const QSize& size) {
    // The view only reads the samples it paints.
    MeasureViewState view =
        rangeLayout(const_cast<CMeasure&>(record), 0, std::max(record.sampleCount, 1), size.width(),
                    size.height());
    PlotPainter(view).paint(painter);
}

// A spectrum, and below it on the same scale the target when there is one.
void paintSpectrum(QPainter& painter, QRect area, CMeasure& curves) {
    if (curves.channelCount <= 3) {
        paintWaveCurves(painter, area, curves, WaveAnalysis::Spectrum);
        return;
    }
    MeasureViewState view;
    view.plot_mode = PLOT_SIGNAL;
    view.measure = &curves;
    view.Rescan();
    showWaveCurves(view, curves, WaveAnalysis::Spectrum);
    view.overlay_of[1] = view.overlay_of[2] = 0;
    view.ComputeRanges();
    view.expanded[1] = view.expanded[2] = 0;
    // Measured and target compare by eye only on one scale.
    const int32_t target = curves.channelCount - 1;
    view.range_min[0] = view.range_min[target] =
        std::min(view.range_min[0], view.range_min[target]);
    view.range_max[0] = view.range_max[target] =
        std::max(view.range_max[0], view.range_max[target]);
    view.range_mod[0] = view.range_mod[target] =
        std::max(view.range_mod[0], view.range_mod[target]);
    view.Layout(area.width(), area.height());
    // Both strips under the four headers, the band's folded ones among them.
    view.strip_height = std::max(0, (area.height() - curves.channelCount * HEADER_HEIGHT) / 2);
    PlotPainter(view).paint(painter);
}

} // namespace

QImage paintReportPlot(const std::vector<FileReport>& files, const ReportPlot& plot) {
    QImage image(plot.width, plot.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const FileReport& f = files.at(plot.file);
    QPainter painter(&image);
    const QRect area(0, 0, plot.width, plot.height);
    switch (plot.kind) {
    case ReportPlotKind::Overview:
        if (f.record) paintOverview(painter, *f.record, image.size());
        break;
    case ReportPlotKind::Spectrum:
        if (const GaugeReport& g = f.gauges.at(plot.gauge); g.spectrumCurves)
            paintSpectrum(painter, area, *g.spectrumCurves);
        break;
    case ReportPlotKind::Exceedance:
        if (const GaugeReport& g = f.gauges.at(plot.gauge); g.exceedance)
            paintExceedance(painter, area, *g.exceedance, g.unit.c_str());
        break;
    case ReportPlotKind::Reflection:
        if (f.reflectionCurves)
            paintWaveCurves(painter, area, *f.reflectionCurves, WaveAnalysis::Reflection);
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

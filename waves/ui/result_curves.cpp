#include "waves/ui/result_curves.h"

#include <algorithm>
#include <cmath>

#include "measure/measure.h"

namespace {

// Dark colours apart in hue and in dash pattern: black solid first.
const QColor FIRST(0x10, 0x10, 0x10);
const QColor SECOND(0x1f, 0x5f, 0xc8);
const QColor THIRD(0xc8, 0x32, 0x1e);
const QColor BAND(0x1f, 0x5f, 0xc8, 0x50);

QString unitOf(const std::string& unit) {
    return unit.empty() ? QStringLiteral("m") : QString::fromStdString(unit);
}

PlotCurve styled(PlotCurve c, const QString& name, const QColor& colour, Qt::PenStyle style,
                 bool markers) {
    c.name = name;
    c.colour = colour;
    c.style = style;
    c.markers = markers;
    return c;
}

// The waves are counted from 1, as the table's "Waves" counts them.
ResultPlotContent waveList(const CWaveResult& r, int32_t channel, const QString& title) {
    ResultPlotContent p;
    p.axes.xTitle = QStringLiteral("Wave");
    p.axes.yTitle = title;
    p.axes.xFormat = TickFormat::Count;
    p.axes.yFromZero = true;
    PlotCurve c = channelCurve(r, channel, r.sampleCount);
    for (double& x : c.x)
        x += 1.0;
    p.curves.push_back(styled(std::move(c), title, FIRST, Qt::SolidLine, false));
    return p;
}

} // namespace

ResultPlotContent exceedancePlot(const CMeasure& e, const std::string& unit) {
    ResultPlotContent p;
    p.axes.xTitle = QStringLiteral("H (%1)").arg(unitOf(unit));
    p.axes.yTitle = QStringLiteral("P(H \u2265 h)");
    p.axes.yFormat = TickFormat::Power;
    p.curves.push_back(styled(channelCurve(e, 0, e.sampleCount), QStringLiteral("Measured"), FIRST,
                              Qt::SolidLine, true));
    // The axis ends a decade below the rarest measured wave, where the
    // models' tails stop saying anything about the record.
    double lowest = 0;
    for (double v : p.curves[0].y)
        lowest = std::min(lowest, v);
    p.axes.yLowest = std::floor(lowest) - 1.0;
    if (e.channelCount > 1)
        p.curves.push_back(styled(channelCurve(e, 1, e.sampleCount), QStringLiteral("Rayleigh"),
                                  SECOND, Qt::DashLine, false));
    if (e.channelCount > 2)
        p.curves.push_back(styled(channelCurve(e, 2, e.sampleCount),
                                  QStringLiteral("Battjes\u2013Groenendijk"), THIRD,
                                  Qt::DashDotLine, false));
    return p;
}

ResultPlotContent spectraPlot(const CMeasure& r, WaveAnalysis kind, const std::string& unit,
                              int32_t rows) {
    ResultPlotContent p;
    p.axes.xTitle = QStringLiteral("Frequency (Hz)");
    p.axes.yTitle = QStringLiteral("S (") + unitOf(unit) + QStringLiteral("\u00b2/Hz)");
    p.axes.yFromZero = true;
    if (kind == WaveAnalysis::Reflection) {
        p.curves.push_back(styled(channelCurve(r, 0, rows), QStringLiteral("Incident"), FIRST,
                                  Qt::SolidLine, false));
        if (r.channelCount > 1)
            p.curves.push_back(styled(channelCurve(r, 1, rows), QStringLiteral("Reflected"), THIRD,
                                      Qt::DashLine, false));
        return p;
    }
    p.curves.push_back(styled(channelCurve(r, 0, rows), QStringLiteral("Spectral density"), FIRST,
                              Qt::SolidLine, false));
    if (r.channelCount >= 3) {
        const PlotCurve lower = channelCurve(r, 1, rows), upper = channelCurve(r, 2, rows);
        p.bands.push_back(
            {QStringLiteral("90 % confidence band"), lower.x, lower.y, upper.y, BAND});
    }
    if (r.channelCount >= 4)
        p.curves.push_back(
            styled(channelCurve(r, 3, rows), QStringLiteral("Target"), THIRD, Qt::DashLine, false));
    return p;
}

PlotCurve channelCurve(const CMeasure& m, int32_t channel, int32_t rows) {
    PlotCurve c;
    if (channel < 0 || channel >= m.channelCount || !(m.sampleRate > 0)) return c;
    rows = std::clamp(rows, 0, m.sampleCount);
    const ChannelInfo& info = m.channels[channel];
    c.x.reserve(size_t(rows));
    c.y.reserve(size_t(rows));
    for (int32_t j = 0; j < rows; ++j) {
        c.x.push_back(j / m.sampleRate);
        c.y.push_back(info.coefficient * m.value(channel, j) + info.constant);
    }
    return c;
}

std::vector<ResultPlotContent> resultPlots(const CWaveResult& r, int32_t rows) {
    if (r.sampleCount < 1) return {};
    if (r.kind != WaveAnalysis::Statistics) return {spectraPlot(r, r.kind, r.unit, rows)};
    std::vector<ResultPlotContent> plots{
        waveList(r, 0, QStringLiteral("H (%1)").arg(unitOf(r.unit))),
        waveList(r, 1, QStringLiteral("T (s)"))};
    if (r.exceedance.sampleCount > 0) plots.push_back(exceedancePlot(r.exceedance, r.unit));
    return plots;
}

#include "report/report_plot.h"

#include <algorithm>

namespace {

// Tall enough for a strip to show a wave's shape under its name and labels.
constexpr int OVERVIEW_STRIP = 110;

int plotHeight(ReportPlotKind kind, int channels) {
    switch (kind) {
    case ReportPlotKind::Overview:
        return std::clamp(OVERVIEW_STRIP * channels, 240, 8 * OVERVIEW_STRIP);
    case ReportPlotKind::Spectrum:
        return 320;
    case ReportPlotKind::Exceedance:
        return 280;
    case ReportPlotKind::Reflection:
        return 400;
    }
    return 300;
}

} // namespace

ReportPlot reportPlot(ReportPlotKind kind, size_t file, size_t gauge, int channels) {
    return {kind, file, gauge, REPORT_PLOT_WIDTH, plotHeight(kind, channels)};
}

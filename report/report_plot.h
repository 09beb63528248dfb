// The plots of a test report: which curves, of which file and gauge, at what
// size in CSS pixels. The report's text names them; the desktop layer paints them.
#pragma once

#include <cstddef>

enum class ReportPlotKind { Overview, Spectrum, Exceedance, Reflection };

struct ReportPlot {
    ReportPlotKind kind;
    size_t file;  // index into the report's files
    size_t gauge; // index into the file's gauges (Spectrum and Exceedance)
    int width, height;
};

constexpr int REPORT_PLOT_WIDTH = 900;

// The size of each plot: the overview grows with its channels.
ReportPlot reportPlot(ReportPlotKind kind, size_t file, size_t gauge, int channels = 1);

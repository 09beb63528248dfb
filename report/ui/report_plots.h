// The plots of a test report painted by the painters of the windows: the
// record as the measurement window shows it, the results as their windows do.
#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "report/file_report.h"
#include "report/report_plot.h"
#include "view/ui/result_plot.h"

// `plot` of `files` at its size, on white; the texts of a result's plot go
// to `log` when there is one.
QImage paintReportPlot(const std::vector<FileReport>& files, const ReportPlot& plot,
                       PlotTextLog* log = nullptr);

// The plot as an <svg> element to place in HTML: its width and height in CSS
// pixels, its viewBox the picture's; empty when it could not be made.
std::string inlineSvg(const QImage& image);

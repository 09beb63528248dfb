// A test report as one HTML document: a summary table when there are several
// files (or one that failed), then a section per file with its header, its
// channels, its plots and its wave tables. The plots come from `plotMarkup`:
// inline SVG for a browser, an image for the PDF.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "report/file_report.h"
#include "report/report_plot.h"

using PlotMarkup = std::function<std::string(const ReportPlot&)>;

enum class ReportFlavour {
    Browser, // responsive, printable on A4 through its print style
    Printed, // the subset a QTextDocument lays out on pages
};

std::string reportHtml(const std::vector<FileReport>& files, const PlotMarkup& plotMarkup,
                       ReportFlavour flavour);

// The name a file goes by in the report: its path's last part.
std::string reportFileName(const std::string& path);

// Writes a test report whole, replacing the file only once it is made: HTML
// in one self-contained file (its plots inline SVG), or PDF of A4 pages laid
// out from the same document. Needs a QGuiApplication.
#pragma once

#include <string>
#include <vector>

#include "report/file_report.h"

enum class ReportFormat { Html, Pdf };

// From the path's extension, .html/.htm or .pdf in any case; false otherwise.
bool reportFormatOfPath(const std::string& path, ReportFormat& format);

// False with the reason in `why` when the report could not be made or written.
bool writeReport(const std::vector<FileReport>& files, const std::string& path, ReportFormat format,
                 std::string* why);

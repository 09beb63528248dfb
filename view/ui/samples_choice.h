// The question that settles which matrix of a MATLAB or HDF5 file holds the
// samples, where the file holds several or none where they belong.
#pragma once

#include <string>

#include "measure/read_report.h"

class QWidget;

// Whether a read refused for want of a variable or dataset lists ones to
// choose from, and none was chosen yet.
bool mayChooseSamples(const ReadReport& report, const ReadOptions& options);

// Asks which of the report's candidates to read, the largest marked at
// first, and names it in `options`; false when the user cancelled.
bool chooseSamples(QWidget* owner, const std::string& path, const ReadReport& report,
                   ReadOptions& options);

// The comment a CSV file carries for each channel whose values were written
// calibrated ("# calibrated: channel 2: value = 0.05 * raw + 0"): CSV has no
// field for a coefficient, so the line says what the numbers already hold and
// gives the pair back to the reader, which leaves the values as they are.
#pragma once

#include <string>

#include "measure/measure.h"

struct CsvCalibration {
    int channel = 0; // counted from 0, as --channel and Python count
    double coefficient = 1, constant = 0;
};

// The comment line without its line end.
std::string csvCalibrationComment(int channel, const ChannelInfo& info);

// The text after "# calibrated:" (trimmed). False with `*error` set when it
// is not "channel N: value = C * raw + K" (or "- K") with finite numbers and
// a coefficient other than 0.
bool readCsvCalibration(const std::string& text, CsvCalibration& out, std::string* error);

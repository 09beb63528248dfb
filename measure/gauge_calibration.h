// Calibrating a wave gauge from a record in which it was held still at known
// elevations, one after the other: the steady stretches of the record, and
// the straight line elevation = coefficient * raw + constant through their
// means by least squares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Rows from..to - 1 of the record and their mean raw value.
struct SteadyStretch {
    int32_t from = 0, to = 0;
    double mean = 0;
};

// The stretches where the gauge stood still at one of `levels` levels:
// every sample whose centred moving standard deviation over one second (at
// least 5 samples) is below 2 % of the mean step between levels (the
// record's range over levels - 1), in runs of at least `minSeconds`. A move
// of a step in less than about 14 s stands out; runs whose means differ by
// less than that 2 % are one level that a knock split and are joined; half
// a second is cut from each end, where a move may begin or end.
std::vector<SteadyStretch> findSteadyStretches(const std::vector<double>& raw, double rate,
                                               int levels, double minSeconds = 2.0);

struct CalibrationOptions {
    std::vector<double> levels;  // elevations in the order the gauge stood at them
    std::vector<double> windows; // pairs of seconds a, b of the stretches; empty: found
    bool force = false;          // take a fit with r^2 below 0.99
};

struct GaugeCalibration {
    double coefficient = 0, constant = 0;
    double r2 = 0;
    double largestResidual = 0; // the largest |level - fit| in the levels' unit
    std::vector<SteadyStretch> stretches;
    std::vector<double> residuals; // level - fit, one per level
};

constexpr double MIN_CALIBRATION_R2 = 0.99;

// Fits one point per level (the stretch's mean, so that a long stretch
// weighs no more than a short one). False with `*error` set for fewer than
// two levels, a level that is not finite, equal levels, a window outside
// the record or backwards, a number of stretches other than the number of
// levels, stretches of one raw value, a fit that is not finite (levels too
// large), or r^2 below 0.99 without `force` (the fit is then still in
// `out`).
bool calibrateGauge(const std::vector<double>& raw, double rate, const CalibrationOptions& options,
                    GaugeCalibration& out, std::string* error);

// The result as "label<TAB>value" lines and one line per level.
std::vector<std::string> calibrationLines(const GaugeCalibration& c,
                                          const std::vector<double>& levels);

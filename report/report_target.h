// The sea a test was run for, to compare each gauge's spectrum against: a
// spectrum table (frequency and density, as `spectrum -o` or a spreadsheet
// writes it) or a drive of an irregular sea saved with its "Target
// elevation" channel, whose Welch spectrum is the target.
#pragma once

#include <string>

#include "measure/measure.h"
#include "sea/target_spectrum.h"
#include "waves/variance_spectrum.h"

constexpr const char* TARGET_ELEVATION_CHANNEL = "Target elevation";

// False with `*error` (one line naming the file) when `path` is neither.
bool readReportTarget(const std::string& path, SpectrumTable& out, std::string* error);

// The target's density at each bin of `measured` (0 outside the table).
std::vector<double> targetAtBins(const SpectrumTable& target, const VarianceSpectrum& measured);

// 4 sqrt(m0) of `density` over the bins of fmin .. fmax, df apart.
double bandHm0(const std::vector<double>& density, double df, double fmin, double fmax);
// The period of the bin of the largest density; NaN for none.
double peakPeriod(const std::vector<double>& density, double df);

// `curves` (a spectrum and its band) with the target as one more channel,
// "S target". False without memory or when the lengths differ.
bool withTargetCurve(const CMeasure& curves, const std::vector<double>& target, CMeasure& out);

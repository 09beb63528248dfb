// Start components for the Kalman filter and the fit, taken from the largest
// separate peaks of a block's spectrum, so that a first run needs no list
// typed by hand and the fit starts close enough not to wander.
#pragma once

#include <string>
#include <vector>

#include "measure/measure.h"
#include "waves/variance_spectrum.h"

struct SpectrumPeak {
    double frequency = 0;       // Hz: vertex of the parabola through the top bin and its neighbours
    double amplitude = 0;       // sqrt(2 sum S df) over the peak's bins: a sinusoid's amplitude
    size_t top = 0;             // the bin of the largest density
    size_t first = 0, last = 0; // the peak's bins
};

// A peak's top density must reach this share of the largest peak's (-40 dB,
// an amplitude about 1 % of its).
constexpr double PEAK_FLOOR = 1e-4;

// The `count` peaks of `spectrum` with the largest top density, in order of
// frequency, leaving out those below PEAK_FLOOR. From bin 1 on, the bins fall
// into runs that rise to a local maximum and fall to the next minimum; each
// run is one peak and a minimum belongs to the run on its left, so that no
// bin counts twice.
std::vector<SpectrumPeak> spectrumPeaks(const VarianceSpectrum& spectrum, int count);

// The spectrum start values are taken from: one Hann-windowed segment as
// long as the block (rounded down to even), its least-squares line removed,
// for the finest frequency resolution the block gives.
bool startSpectrum(const BlockValues& block, VarianceSpectrum& out, std::string* error);

// Replaces `out` by `count` (1 .. 10) components from the peaks of the
// block's spectrum: named "Peak N", frequency and amplitude from the peak,
// k 5 (a fresh list's), a, d and eta 0 (no phase or damping is known); the
// level is the block's mean. Fewer components when the spectrum has fewer
// peaks. False with `*error` set, `out` untouched, when there is no block,
// the block is too short or the spectrum has no peak.
bool spectrumStartComponents(const CMeasure& m, const BlockRange& block, int count,
                             SignalParameters& out, std::string* error);

// "auto:K" asks for K start components from the spectrum. False when `text`
// does not begin with "auto:"; true otherwise, with `count` set, or 0 and
// `*error` set when K is not a whole number from 1 to 10.
bool autoComponentCount(const std::string& text, int& count, std::string* error);

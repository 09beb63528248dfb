// The exceedance plot of a wave-by-wave analysis as a measurement whose X is
// the height: log10 P(H >= h) of the measured waves, of Rayleigh's
// distribution and, with a foreshore, of the composite Weibull, on an even
// grid of h from 0 to the highest wave, so that the view draws it as three
// curves over one another.
#pragma once

#include "measure/measure.h"
#include "waves/height_distribution.h"

constexpr int32_t EXCEEDANCE_ROWS = 256;

// Channels "measured", "Rayleigh" and (shallow only) "Weibull", unit "log10 P";
// X = row / sampleRate is h in the heights' unit. The measured value at h counts the
// waves of H >= h on the plotting positions i / (N + 1), so it stays finite
// up to the highest wave. False without waves or memory.
bool exceedanceMeasure(const HeightDistribution& d, CMeasure& out);

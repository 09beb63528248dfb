// Spectra as measurements with frequency as X (sampleRate = 1/df, so row j
// is at j * df), so that they save, open and plot as any curve.
#pragma once

#include "measure/measure.h"
#include "waves/confidence_band.h"
#include "waves/reflection.h"
#include "waves/variance_spectrum.h"

// One channel "S(f)" in `unit`^2/Hz. False when the memory is not there.
bool spectrumMeasure(const VarianceSpectrum& spectrum, const char* unit, CMeasure& out);
// Three channels: "S(f)", then the band's "S lower 90%" and "S upper 90%"
// (at the band's level).
bool spectrumMeasure(const VarianceSpectrum& spectrum, const ConfidenceBand& band, const char* unit,
                     CMeasure& out);

// Two channels, "S incident" and "S reflected".
bool reflectionMeasure(const ReflectionResult& result, const char* unit, CMeasure& out);

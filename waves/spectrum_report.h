// One spectrum run as ondarix-batch, Python and the desktop give it: the
// detrended block's Welch density, its sea state parameters and peak
// periods, the 90 % confidence band of the density, and what it says when
// gauge noise shows.
#pragma once

#include <string>
#include <vector>

#include "waves/confidence_band.h"
#include "waves/noise_warning.h"
#include "waves/spectral_parameters.h"

struct SpectrumReport {
    VarianceSpectrum spectrum;
    SpectralParameters parameters;
    ConfidenceBand band;
    std::vector<NoiseWarning> warnings;
};

// False with `*error` set for a bad segment, sample rate or band.
bool spectrumReport(const BlockValues& block, int32_t segment, Detrend detrend,
                    const SpectralBand& band, SpectrumReport& out, std::string* error);

// The parameter lines, the peak periods beside Tp, then the band's degrees
// of freedom and factors.
std::vector<std::string> spectrumReportLines(const SpectrumReport& r, const char* unit);

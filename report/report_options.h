// What a test report holds and how each analysis in it is run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sea/target_spectrum.h"
#include "waves/spectral_parameters.h"
#include "waves/wave_by_wave.h"

struct ReportOptions {
    std::vector<int32_t> channels; // the gauges; empty: every channel
    int32_t from = 0, to = -1;     // the analysed rows; to < 0: up to the end
    bool waves = true;
    bool spectrum = true;
    bool reflection = false;
    WaveOptions waveOptions; // its detrend defaults to the mean, as in `waves`
    int32_t segment = 0;     // spectrum and reflection; 0: the default
    SpectralBand band;
    Detrend spectrumDetrend = Detrend::Linear; // spectrum and reflection
    std::vector<double> positions;             // reflection: one per gauge, m
    double depth = 0;                          // reflection: water depth, m
    bool hasTarget = false;                    // compare each spectrum with `target`
    SpectrumTable target;
};

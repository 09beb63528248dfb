// Incident and reflected waves from two or three gauges in a row along the
// flume, separated per frequency with linear wave theory: two gauges by Goda
// and Suzuki (1976), three by the least-squares method of Mansard and Funke
// (1980).
#pragma once

#include <string>
#include <vector>

#include "waves/spectral_parameters.h"

// The separation works on the transform of the whole block, so that each
// wave is resolved at its own frequency and wave number; the spectra it gives
// are then averaged over bands of adjacent frequencies to the resolution of a
// Welch segment.
struct ReflectionOptions {
    std::vector<double> positions; // m, along the incident waves' direction
    double depth = 0;              // m
    int32_t segment = 0;           // the spectra's resolution: sampleRate / segment; 0: the default
    SpectralBand band;
    // Taken out of each gauge's block before the transform: over the whole
    // block a drift's line leaks into every frequency.
    Detrend detrend = Detrend::Linear;
};

struct ReflectionResult {
    VarianceSpectrum incident; // band-averaged, density 0 where nothing was resolved
    VarianceSpectrum reflected;
    double df = 0;                            // Hz, the resolution of the separation
    double fmin = 0, fmax = 0;                // the lowest and highest frequency used
    int32_t binsUsed = 0;                     // frequencies of the separation, df apart
    int32_t binsLeftOut = 0;                  // inside fmin..fmax, where the gauges cannot resolve
    double hm0Incident = 0, hm0Reflected = 0; // 4 sqrt(m0) over the frequencies used
    double kr = 0;                            // Hm0 reflected / Hm0 incident
};

// One block per gauge, all of the same length and sample rate, in the order
// of `options.positions`. False with `*error` set (one line) for bad input.
bool separateReflection(const std::vector<BlockValues>& gauges, const ReflectionOptions& options,
                        ReflectionResult& out, std::string* error);

std::vector<std::string> reflectionParameterLines(const ReflectionResult& r, const char* unit);

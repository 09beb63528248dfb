// Incident and reflected waves from 2 to 16 gauges in a row along the flume,
// separated per frequency with linear wave theory: two gauges by Goda and
// Suzuki (1976), more by least squares (Mansard and Funke 1980 for three,
// Zelt and Skjelbreia 1992 for any number).
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

constexpr size_t MAX_REFLECTION_GAUGES = 16;

// A range of frequencies (Hz) the gauges cannot separate.
struct FrequencyRange {
    double from = 0, to = 0;
};

struct ReflectionResult {
    VarianceSpectrum incident; // band-averaged, density 0 where nothing was resolved
    VarianceSpectrum reflected;
    std::vector<char> separable; // per band of the spectra: 1 where any frequency was resolved
    double df = 0;               // Hz, the resolution of the separation
    double fmin = 0, fmax = 0;   // the lowest and highest frequency used
    int32_t binsUsed = 0;        // frequencies of the separation, df apart
    int32_t binsLeftOut = 0;     // inside fmin..fmax, where the gauges cannot resolve
    double hm0Incident = 0, hm0Reflected = 0; // 4 sqrt(m0) over the frequencies used
    double kr = 0;                            // Hm0 reflected / Hm0 incident
    std::vector<FrequencyRange> leftOut;      // every unresolved run of the band, df apart
};

// One block per gauge, all of the same length and sample rate, in the order
// of `options.positions`. False with `*error` set (one line) for bad input.
bool separateReflection(const std::vector<BlockValues>& gauges, const ReflectionOptions& options,
                        ReflectionResult& out, std::string* error);

// Why the gauges cannot be separated at all (count, positions, depth, blocks
// of different length or rate); empty when they can.
std::string reflectionGaugeRefusal(const std::vector<BlockValues>& gauges,
                                   const std::vector<double>& positions, double depth);

// The same and the band's limits.
std::string reflectionRefusal(const std::vector<BlockValues>& gauges, const ReflectionOptions& o);

// "0.05-0.12, 1.6-1.7": the left-out ranges in Hz, "none" without any.
std::string leftOutText(const std::vector<FrequencyRange>& ranges);

std::vector<std::string> reflectionParameterLines(const ReflectionResult& r, const char* unit);

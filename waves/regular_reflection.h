// Incident and reflected waves of a regular-wave record: the first harmonic
// into an incident and a reflected wave, the second into the bound waves the
// first harmonic drags along (wave number 2k, incident and reflected) and the
// free waves of the paddle and the structure (wave number of 2f by the
// dispersion relation), by least squares over the gauges.
#pragma once

#include <string>
#include <vector>

#include "waves/detrend.h"
#include "waves/variance_spectrum.h"

struct RegularReflectionOptions {
    std::vector<double> positions; // m, along the incident waves' direction
    double depth = 0;              // m
    Detrend detrend = Detrend::Linear;
};

// a cos(2 pi f t -+ k x + phase): t from the block's first sample, x from the
// positions' origin; the minus sign for incident waves.
struct HarmonicWave {
    double amplitude = 0; // the gauges' unit
    double phase = 0;     // rad, -pi .. pi
};

struct RegularReflectionResult {
    double frequency = 0;  // Hz, the first harmonic's
    double lineShare = 0;  // the line's part of the variance from f/2 to 3f/2
    double k1 = 0;         // rad/m at f
    double k2 = 0;         // rad/m, free waves at 2f
    HarmonicWave incident; // first harmonic
    HarmonicWave reflected;
    double kr = 0; // reflected / incident amplitude of the first harmonic
    // At 2f, with four gauges or more (secondHarmonic true).
    bool secondHarmonic = false;
    double secondCondition = 0; // the condition number of the 2f system
    HarmonicWave boundIncident, boundReflected, freeIncident, freeReflected;
};

// The line must hold this part of the variance around it for the record to
// count as a regular wave.
constexpr double MIN_REGULAR_LINE_SHARE = 0.8;
// Beyond this condition number the 2f system amplifies the gauges' noise more
// than tenfold; the gauges then cannot tell bound from free waves.
constexpr double MAX_SECOND_HARMONIC_CONDITION = 100;

// One block per gauge, all of the same length and rate, in the order of
// `options.positions`. False with `*error` (one line) for bad input, an
// irregular record, or gauges that cannot separate the first harmonic.
bool separateRegularReflection(const std::vector<BlockValues>& gauges,
                               const RegularReflectionOptions& options,
                               RegularReflectionResult& out, std::string* error);

std::vector<std::string> regularReflectionLines(const RegularReflectionResult& r, const char* unit);

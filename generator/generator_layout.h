// What a set of generator parameters amounts to before anything is
// synthesised: the wave, the phase lengths in samples and the chain's rates,
// or the reason the parameters cannot be synthesised.
#pragma once

#include <cstdint>
#include <string>

#include "generator/generator_parameters.h"

// Longest synthesis: samples per channel.
constexpr int32_t GENERATOR_MAX_SAMPLES = 2 * 1024 * 1024;

// Highest differentiability degree; its chain has one state more.
constexpr int32_t GENERATOR_MAX_DEGREE = 100;

constexpr int32_t GENERATOR_MODEL_COUNT = 7;

struct GeneratorLayout {
    double dt = 0.0;     // sampling period [s]
    double omega = 0.0;  // angular frequency [1/s]
    double period = 0.0; // T [s]
    double b = 0.0;      // rise rate of the envelope chain [1/s]
    int32_t n = 0;       // states of the envelope chain
    double xa = 0.0;     // in-phase correction
    double xd = 0.0;     // quadrature correction
    int32_t rise = 0;    // samples of the rise phase (c)
    int32_t steady = 0;  // samples of the steady phase (d)
    int32_t decay = 0;   // samples of the decay phase (e)
    int32_t sampleCount = 0;
};

// Fills `layout` from `p` with plain arithmetic, allocating nothing. Returns an
// empty string, or a one-line reason why `p` cannot be synthesised (bad or
// non-finite values, a sample count above GENERATOR_MAX_SAMPLES, correction
// coefficients that overflow). `layout` is complete only when the reason is
// empty. Whether the envelope chain can be solved is checked apart (see
// checkGeneratorParameters).
std::string planGeneratorLayout(const GeneratorParameters& p, GeneratorLayout& layout);

// Shared helpers of the generator tests: a synthesis in one call, the
// envelopes read back from channel 0, and closed forms of the chain.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "generator/generator.h"
#include "generator/generator_synthesis.h"
#include "support/wave_length.h"

inline std::unique_ptr<CGenerator> synthesized(const GeneratorParameters& p, unsigned seed = 7) {
    auto g = std::make_unique<CGenerator>(p);
    std::string error;
    EXPECT_TRUE(GeneratorSynthesisSeeded(*g, seed, &error)) << error;
    return g;
}

inline GeneratorParameters withModel(int model) {
    GeneratorParameters p;
    p.model_generacji = model;
    return p;
}

// Channel 0 is (cos t v + sin t w, cos t w - sin t v): a rotation by the
// carrier phase, so v and w come back by the inverse rotation.
struct EnvelopePair {
    double v;
    double w;
};

inline double carrierPhase(const CGenerator& g, int i) {
    double omega = 2.0 * TEST_PI / g.parameters.period;
    return i * omega * g.parameters.okres_probkowania;
}

inline EnvelopePair envelopeAt(const CGenerator& g, int i) {
    double t = carrierPhase(g, i);
    double re = g.value(0, i), im = g.sample(0, i).im;
    return {re * std::cos(t) - im * std::sin(t), re * std::sin(t) + im * std::cos(t)};
}

// Output of a chain of n states left alone from the plateau state (all ones):
// the Erlang survival function exp(-bt) sum_{k<n} (bt)^k / k!.
inline double plateauOutput(int n, double b, double t) {
    double term = 1.0, sum = 0.0, x = b * t;
    for (int k = 0; k < n; ++k) {
        sum += term;
        term *= x / (k + 1);
    }
    return std::exp(-x) * sum;
}

// Output from the bump state e0 / b^(n-1): t^(n-1) exp(-bt) / (n-1)!, whose
// (n-1)-th derivative at 0 is 1 and lower ones vanish.
inline double bumpOutput(int n, double b, double t) {
    double value = std::exp(-b * t);
    for (int k = 1; k < n; ++k)
        value *= t / k;
    return value;
}

#include "generator/random_envelopes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "generator_test_support.h"

namespace {

constexpr double RAYLEIGH = 1.2533141373155003; // sqrt(pi / 2)
constexpr int PHASE = 854;                      // round(5 T / dt) at the defaults

bool sameSamples(const CGenerator& a, const CGenerator& b) {
    return a.sampleBytes() == b.sampleBytes() &&
           std::memcmp(a.blockBytes(), b.blockBytes(), size_t(a.sampleBytes())) == 0;
}

} // namespace

TEST(RandomEnvelopes, EverySynthesisIsANewRealisation) {
    // Two syntheses within the same second must still differ.
    CGenerator g(withModel(4));
    CGenerator h(withModel(4));
    ASSERT_TRUE(GeneratorSynthesis(g));
    ASSERT_TRUE(GeneratorSynthesis(h));
    EXPECT_FALSE(sameSamples(g, h));
    // A given seed repeats itself.
    auto a = synthesized(withModel(4), 42);
    auto b = synthesized(withModel(4), 42);
    EXPECT_TRUE(sameSamples(*a, *b));
}

TEST(RandomEnvelopes, RiseIsDeterministicTowardsTheRayleighMean) {
    // Rise: v = 0 and w = G (1 - plateau(t)) with the Erlang survival of 3 states.
    auto g = synthesized(withModel(4));
    double b = g->parameters.narastanie / g->parameters.period;
    for (int j = 1; j <= PHASE; ++j) {
        double t = j * g->parameters.okres_probkowania;
        EnvelopePair e = envelopeAt(*g, j);
        ASSERT_NEAR(e.v, 0.0, 3e-6) << j;
        ASSERT_NEAR(e.w, RAYLEIGH * (1.0 - plateauOutput(3, b, t)), 3e-6) << j;
    }
    // plateau(10) = 61 exp(-10) = 0.0028: the rise ends within 0.3 % of G.
    EXPECT_NEAR(envelopeAt(*g, PHASE).w, RAYLEIGH, 0.004 * RAYLEIGH);
}

TEST(RandomEnvelopes, SteadyPhaseHasUnitVarianceAndRayleighAmplitude) {
    // A long steady phase: both envelopes settle to the chain's stationary law
    // with unit output variance, so E v^2 = E w^2 = 1, E v = 0 and the amplitude
    // sqrt(v^2 + w^2) has the Rayleigh mean sqrt(pi/2). About 1300 correlation
    // times (n / b = 5 s) give a few per cent of sampling error.
    GeneratorParameters p = withModel(4);
    p.czas_ustalony = 2000;
    auto g = synthesized(p, 12345);
    int from = PHASE + 20 * PHASE, to = g->sampleCount - PHASE;
    double sv = 0, sv2 = 0, sw2 = 0, amplitude = 0;
    int count = 0;
    for (int j = from; j < to; ++j) {
        EnvelopePair e = envelopeAt(*g, j);
        sv += e.v, sv2 += e.v * e.v, sw2 += e.w * e.w;
        amplitude += std::hypot(e.v, e.w);
        ++count;
    }
    EXPECT_NEAR(sv / count, 0.0, 0.12);
    EXPECT_NEAR(sv2 / count, 1.0, 0.15);
    EXPECT_NEAR(sw2 / count, 1.0, 0.15);
    EXPECT_NEAR(amplitude / count, RAYLEIGH, 0.08);
}

TEST(RandomEnvelopes, DecayLetsTheLastStateDieAwayWithoutNoise) {
    auto g = synthesized(withModel(4), 99);
    const double dt = g->parameters.okres_probkowania;
    const int held = 2 * PHASE;
    // Noise-free from the last steady state on: channel 1 is the exact
    // derivative again (fourth-order difference, see generator_synthesis_test).
    for (int i = held + 2; i < g->sampleCount - 2; ++i) {
        auto x = [&](int k) { return double(g->value(0, k)); };
        double fd = (-x(i + 2) + 8 * x(i + 1) - 8 * x(i - 1) + x(i - 2)) / (12 * dt);
        ASSERT_NEAR(g->value(1, i), fd, 1e-4) << i;
    }
    // It starts from the steady phase's last state without a jump, and has
    // died down to a few per cent after 5 waves (10 / b).
    EnvelopePair before = envelopeAt(*g, held), after = envelopeAt(*g, held + 1);
    EXPECT_NEAR(after.w, before.w, 0.05);
    EXPECT_NEAR(after.v, before.v, 0.05);
    EnvelopePair end = envelopeAt(*g, g->sampleCount - 1);
    double start = std::hypot(before.v, before.w) + 1.0;
    EXPECT_LT(std::hypot(end.v, end.w), 0.05 * start);
}

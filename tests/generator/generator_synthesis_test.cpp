#include "generator/generator_synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "generator_test_support.h"

namespace {

// Defaults: T = 3.4156185865940762 s (dispersion_test), b = 2 / T, dt = 0.02 s,
// 5 + 5 + 5 waves of round(5 T / dt) = 854 samples each.
constexpr int PHASE = 854;
constexpr int SAMPLES = 3 * PHASE + 1;

// Closed form of (v, w) at sample j for a chain of n states with corrections
// xa, xd: rise and steady are 1 - plateau(t) plus the bump; the decay is the
// complement state, plateau(t - t1) - plateau(t).
EnvelopePair expectedEnvelope(const CGenerator& g, int n, double xa, double xd, int held, int j) {
    if (j == 0) return {0.0, 0.0};
    double dt = g.parameters.okres_probkowania;
    double b = g.parameters.narastanie / g.parameters.period;
    double t = j * dt, t1 = held * dt;
    double bump = bumpOutput(n, b, t);
    double level = j <= held ? 1.0 - plateauOutput(n, b, t)
                             : plateauOutput(n, b, t - t1) - plateauOutput(n, b, t);
    return {xa * bump, xd * bump + level};
}

void expectEnvelopes(const CGenerator& g, int n, double xa, double xd, int held) {
    for (int j = 0; j < g.sampleCount; ++j) {
        EnvelopePair got = envelopeAt(g, j);
        EnvelopePair want = expectedEnvelope(g, n, xa, xd, held, j);
        ASSERT_NEAR(got.v, want.v, 2e-6) << "sample " << j;
        ASSERT_NEAR(got.w, want.w, 2e-6) << "sample " << j;
    }
}

// Fourth-order central difference of one part of channel 0 at sample i (error
// w^5 dt^4 / 30 = 1e-7 at the defaults, float rounding about 1e-5).
double centralDifference(const CGenerator& g, float Sample::*part, int i) {
    auto x = [&](int k) { return double(g.sample(0, k).*part); };
    double dt = g.parameters.okres_probkowania;
    return (-x(i + 2) + 8 * x(i + 1) - 8 * x(i - 1) + x(i - 2)) / (12 * dt);
}

} // namespace

TEST(GeneratorSynthesis, LaysOutTwoDescribedComplexChannels) {
    auto g = synthesized(GeneratorParameters{});
    EXPECT_EQ(g->sampleFormat, SAMPLE_FORMAT_COMPLEX);
    EXPECT_STREQ(g->name, "Generated");
    EXPECT_NE(g->date, 0u);
    EXPECT_EQ(g->channelCount, 2);
    EXPECT_DOUBLE_EQ(g->sampleRate, 50.0);
    EXPECT_EQ(g->sampleCount, SAMPLES);
    EXPECT_EQ(g->sampleBytes(), SAMPLES * 16);
    EXPECT_NEAR(g->parameters.period, 3.4156185865940762, 1e-12);
    EXPECT_STREQ(g->channels[0].name, "Generated");
    EXPECT_STREQ(g->channels[0].unit, "cm");
    EXPECT_STREQ(g->channels[1].name, "Generated diff");
    EXPECT_STREQ(g->channels[1].unit, "cm/s");
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(g->channels[c].coefficient, 1.0);
        EXPECT_EQ(g->channels[c].constant, 0.0);
    }
}

TEST(GeneratorSynthesis, DefaultSignalHasThePeriodOfLinearTheory) {
    // Model 1, the defaults: mean up-crossing period over the steady phase
    // against T found by bisection on the dispersion relation for L = 8 m.
    auto g = synthesized(GeneratorParameters{});
    const double dt = g->parameters.okres_probkowania;
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (int i = PHASE; i < 2 * PHASE; ++i) {
        double a = g->value(0, i), b = g->value(0, i + 1);
        if (a < 0.0 && b >= 0.0) {
            double t = (i + a / (a - b)) * dt;
            if (first < 0.0) first = t;
            last = t;
            ++crossings;
        }
    }
    ASSERT_GE(crossings, 4);
    double zeroCrossingPeriod = (last - first) / (crossings - 1);
    double T = g->parameters.period;
    EXPECT_NEAR(lengthForPeriod(T, 0.6), 8.0, 1e-9);
    EXPECT_NEAR(zeroCrossingPeriod, T, 2e-3);

    // Smooth start and end: the first sample is the bump's xa dt^2 / 2 = 4.6e-5,
    // and the quadrature envelope has reached 1 by the end of the steady phase.
    EXPECT_LT(std::fabs(g->value(0, 1)), 5e-5);
    EXPECT_NEAR(envelopeAt(*g, 2 * PHASE).w, 1.0, 1e-5);
    EXPECT_LT(std::hypot(g->value(0, SAMPLES - 1), g->sample(0, SAMPLES - 1).im), 5e-3);
}

TEST(GeneratorSynthesis, DeterministicModelsFollowTheChainInClosedForm) {
    // Coefficients by hand from b = 0.58554547, w = 1.83954536, n = 3:
    // A: (b^3 / 3w) / (1 + (b / 3w)^2) = 0.0359739557587;  B: xa b / 4w = 0.00286271644078;
    // C: 0.5 b^2 4/3 = 0.228575667101.
    struct Case {
        int model;
        double xa, xd;
    } cases[] = {{0, 0.0359739557587193, 0.002862716440784665},
                 {1, 0.22857566710056662, 0.22857566710056662},
                 {2, 0.0, 0.0}, // v = 0: exactly (w sin t, w cos t)
                 {3, 0.3, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        auto g = synthesized(withModel(c.model));
        expectEnvelopes(*g, 3, c.xa, c.xd, 2 * PHASE);
    }
}

TEST(GeneratorSynthesis, OtherDegreesAndPhaseLengths) {
    // Degree 0: single exponentials, w = 1 - exp(-bt) and a pure exponential decay.
    GeneratorParameters p = withModel(2);
    p.stopien_rozniczkowalnosci = 0;
    p.czas_narastania = 2;
    p.czas_ustalony = 0;
    p.czas_zaniku = 3;
    auto g = synthesized(p);
    // round(2T/dt) = 342, round(3T/dt) = 512.
    ASSERT_EQ(g->sampleCount, 342 + 512 + 1);
    expectEnvelopes(*g, 1, 0.0, 0.0, 342);

    // Degree 4 with the in-phase correction of model 3.
    p = withModel(3);
    p.stopien_rozniczkowalnosci = 4;
    p.narastanie = 3.0;
    g = synthesized(p);
    expectEnvelopes(*g, 5, 0.3, 0.0, 2 * PHASE);
}

void expectExactDerivative(const CGenerator& g, int skipFrom, int skipTo) {
    for (int i = 2; i < g.sampleCount - 2; ++i) {
        ASSERT_EQ(g.value(1, i), g.sample(1, i).im) << i;
        if (i >= skipFrom && i <= skipTo) continue;
        ASSERT_NEAR(g.value(1, i), centralDifference(g, &Sample::re, i), 1e-4) << i;
    }
}

TEST(GeneratorSynthesis, ChannelOneIsTheExactDerivativeForModelsZeroToThree) {
    for (int model : {0, 1, 2, 3}) {
        SCOPED_TRACE(model);
        expectExactDerivative(*synthesized(withModel(model)), 0, -1);
    }
    // Degree 0: the envelope has a kink where the decay starts; skip the
    // differences that straddle it.
    GeneratorParameters p = withModel(2);
    p.stopien_rozniczkowalnosci = 0;
    const int held = 2 * PHASE;
    expectExactDerivative(*synthesized(p), held - 2, held + 2);
}

TEST(GeneratorSynthesis, ZeroCorrectionModelsEqualModelTwo) {
    auto plain = synthesized(withModel(2));

    // Model 3 with xa = 0 is model 2 sample for sample, both channels.
    GeneratorParameters p = withModel(3);
    p.wspolczynnik_xa = 0.0;
    auto three = synthesized(p);
    ASSERT_EQ(three->sampleBytes(), plain->sampleBytes());
    EXPECT_EQ(std::memcmp(three->blockBytes(), plain->blockBytes(), size_t(three->sampleBytes())),
              0);

    // Model 6 with Cr = 0: the same channel 0; channel 1 is the five-point slope.
    p = withModel(6);
    p.wspolczynnik_cr = 0.0;
    auto groups = synthesized(p);
    ASSERT_EQ(groups->sampleCount, plain->sampleCount);
    for (int i = 0; i < plain->sampleCount; ++i) {
        ASSERT_EQ(groups->value(0, i), plain->value(0, i)) << i;
        ASSERT_EQ(groups->sample(0, i).im, plain->sample(0, i).im) << i;
    }
    for (int i = 2; i < plain->sampleCount - 2; ++i)
        ASSERT_NEAR(groups->value(1, i), plain->value(1, i), 3e-3) << i;
}

TEST(GeneratorSynthesis, GroupsModulateTheEnvelopeDownToZero) {
    // Cr = 1, Fio = pi: factor 1 - cos(t / 2NW), zero every 2 NW = 6 waves;
    // the envelope of model 6 is that factor times the envelope of model 2.
    GeneratorParameters p = withModel(6);
    p.wspolczynnik_cr = 1.0;
    p.wspolczynnik_fio = TEST_PI;
    auto groups = synthesized(p);
    auto plain = synthesized(withModel(2));
    for (int i = 0; i < plain->sampleCount; ++i) {
        double factor = 1.0 - std::cos(carrierPhase(*plain, i) / 6.0);
        ASSERT_NEAR(envelopeAt(*groups, i).w, factor * envelopeAt(*plain, i).w, 4e-6) << i;
    }
    // Six waves in: inside the steady phase, the signal vanishes.
    double T = plain->parameters.period;
    int node = int(std::lround(6.0 * T / p.okres_probkowania));
    EXPECT_LT(std::hypot(groups->value(0, node), groups->sample(0, node).im), 1e-4);
    EXPECT_GT(
        std::hypot(groups->value(0, node + PHASE / 2), groups->sample(0, node + PHASE / 2).im),
        0.1);
}

TEST(GeneratorSynthesis, StokesModelIsAHarmonicSeriesOfTheEnvelope) {
    // With v = 0, z = F + i G2 = i w exp(-it): z^2 = -w^2 exp(-2it), z^3 = -i w^3 exp(-3it).
    // Real part: C1 w sin t + C2 w^2 sin 2t + C3 w^3 sin 3t. Imaginary part:
    // C1 w cos t + C2 w^2 cos 2t - C3 w^3 cos 3t (the cube enters with +Im z^3).
    GeneratorParameters p = withModel(5);
    p.wspolczynnik_w1 = 0.9;
    p.wspolczynnik_w2 = 0.3;
    p.wspolczynnik_w3 = 0.1;
    auto stokes = synthesized(p);
    auto plain = synthesized(withModel(2));
    for (int i = 0; i < plain->sampleCount; ++i) {
        double w = envelopeAt(*plain, i).w, t = carrierPhase(*plain, i);
        double re = 0.9 * w * std::sin(t) + 0.3 * w * w * std::sin(2 * t) +
                    0.1 * w * w * w * std::sin(3 * t);
        double im = 0.9 * w * std::cos(t) + 0.3 * w * w * std::cos(2 * t) -
                    0.1 * w * w * w * std::cos(3 * t);
        ASSERT_NEAR(stokes->value(0, i), re, 2e-6) << i;
        ASSERT_NEAR(stokes->sample(0, i).im, im, 2e-6) << i;
    }
    // Channel 1: the five-point slope of both parts (bias 0.57 f''' dt^2, about
    // 6e-3 for the third harmonic at 3w).
    for (int i = 2; i < stokes->sampleCount - 2; ++i) {
        ASSERT_NEAR(stokes->value(1, i), centralDifference(*stokes, &Sample::re, i), 1e-2) << i;
        ASSERT_NEAR(stokes->sample(1, i).im, centralDifference(*stokes, &Sample::im, i), 1e-2) << i;
    }
}

TEST(GeneratorSynthesis, NoWavesGiveOneSilentSample) {
    for (int model = 0; model < 7; ++model) {
        SCOPED_TRACE(model);
        GeneratorParameters p = withModel(model);
        p.czas_narastania = p.czas_ustalony = p.czas_zaniku = 0;
        auto g = synthesized(p);
        ASSERT_EQ(g->sampleCount, 1);
        EXPECT_EQ(g->value(0, 0), 0.0f);
        EXPECT_EQ(g->sample(0, 0).im, 0.0f);
        EXPECT_EQ(g->value(1, 0), 0.0f);
        EXPECT_EQ(g->sample(1, 0).im, 0.0f);
    }
}

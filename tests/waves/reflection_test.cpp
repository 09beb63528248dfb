// Incident and reflected waves separated from synthetic seas of known
// reflection, and the wave number they rest on.
#include "waves/reflection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "numeric/dispersion.h"
#include "sea_synthesis.h"
#include "waves/spectrum_measure.h"
#include "waves/wave_number.h"

namespace {

constexpr double DEPTH = 0.5;

// An incident JONSWAP sea (Hm0 0.1 m, fp 0.65 Hz) plus its reflection with
// coefficient `kr` and phase shift 0.7 rad, at gauges `x`, 20 Hz, 16384
// samples, each gauge with noise of 0.002 m. The wave numbers are chosen and
// each frequency comes from the generator's dispersion relation, so the test
// does not lean on the solver it checks.
std::vector<BlockValues> reflectedSea(const std::vector<double>& x, double kr,
                                      std::vector<Component>* incident = nullptr) {
    std::vector<double> k, f;
    for (double kk = 0.8; kk < 9.5; kk += 0.02) {
        k.push_back(kk);
        f.push_back(dispersionOmega(2 * SEA_PI / kk, DEPTH) / (2 * SEA_PI));
    }
    std::vector<Component> c = jonswapComponents(f, k, 0.65, 0.1, 5);
    std::vector<BlockValues> gauges;
    for (size_t g = 0; g < x.size(); ++g) {
        BlockValues b = emptyBlock(16384, 20.0);
        for (const Component& w : c)
            for (size_t j = 0; j < b.values.size(); ++j) {
                double t = j / 20.0;
                b.values[j] +=
                    w.amplitude * std::cos(w.omega * t - w.k * x[g] + w.phase) +
                    kr * w.amplitude * std::cos(w.omega * t + w.k * x[g] + w.phase + 0.7);
            }
        addNoise(b, 0.002, unsigned(20 + g));
        gauges.push_back(std::move(b));
    }
    if (incident) *incident = c;
    return gauges;
}

ReflectionOptions optionsFor(const std::vector<double>& x) {
    ReflectionOptions o;
    o.positions = x;
    o.depth = DEPTH;
    o.segment = 1024;
    // The sea lies between 0.27 and 1.55 Hz; above it the gauges' noise
    // would only add to both spectra.
    o.band = SpectralBand{0.25, 2.0};
    return o;
}

} // namespace

TEST(WaveNumber, SatisfiesTheDispersionRelation) {
    // For a chosen k, the generator's omega(L = 2 pi / k, h) must lead back to k.
    for (double h : {0.05, 0.5, 3.0, 200.0})
        for (double k : {0.1, 1.0, 6.0, 40.0}) {
            double omega = dispersionOmega(2 * SEA_PI / k, h);
            EXPECT_NEAR(waveNumber(omega, h), k, 1e-10 * k) << "h " << h << " k " << k;
        }
    // Started from a neighbour's wave number, or from a poor guess, the
    // iteration ends on the same root.
    double omega = dispersionOmega(2 * SEA_PI / 3.0, 0.5);
    EXPECT_NEAR(waveNumberNear(omega, 0.5, 2.9), 3.0, 1e-12);
    EXPECT_NEAR(waveNumberNear(omega, 0.5, 300.0), 3.0, 1e-12);
    EXPECT_EQ(waveNumber(0, 1.0), 0.0);
    EXPECT_TRUE(std::isnan(waveNumber(1.0, 0.0)));
}

TEST(Reflection, ThreeGaugesRecoverTheReflectionCoefficient) {
    const std::vector<double> x{0.0, 0.35, 0.8};
    for (double kr : {0.2, 0.5, 0.9}) {
        ReflectionResult r;
        std::string why;
        ASSERT_TRUE(separateReflection(reflectedSea(x, kr), optionsFor(x), r, &why)) << why;
        EXPECT_NEAR(r.kr, kr, 0.03) << "Kr " << kr;
        // The incident Hm0 is the synthesis' 0.1 m less the little outside
        // the band the gauges resolve, plus noise.
        EXPECT_NEAR(r.hm0Incident, 0.1, 0.005) << "Kr " << kr;
        // Bins 205 .. 1638 of df = 20 / 16384 Hz: 0.25 .. 2 Hz.
        EXPECT_EQ(r.binsUsed, 1434);
        EXPECT_EQ(r.binsLeftOut, 0);
    }
}

TEST(Reflection, NoReflectionLeavesOnlyTheNoiseFloor) {
    // Without reflection only the gauges' noise shows as reflected: about
    // 0.002^2 over 1.75 of 10 Hz, a third of it after the least squares,
    // 4 sqrt(2.3e-7) = 0.002 m or a Kr of 0.02 to 0.03.
    const std::vector<double> x{0.0, 0.35, 0.8};
    ReflectionResult r;
    ASSERT_TRUE(separateReflection(reflectedSea(x, 0.0), optionsFor(x), r, nullptr));
    EXPECT_LT(r.kr, 0.04);
    EXPECT_NEAR(r.hm0Incident, 0.1, 0.005);
}

TEST(Reflection, TwoGaugesRecoverTheReflectionCoefficient) {
    // Goda and Suzuki's range 0.05 < dx / L < 0.45 for dx = 0.35 m holds
    // from about 0.3 to 1.4 Hz in 0.5 m of water, where the sea's energy is.
    const std::vector<double> x{1.0, 1.35};
    ReflectionResult r;
    std::string why;
    ASSERT_TRUE(separateReflection(reflectedSea(x, 0.4), optionsFor(x), r, &why)) << why;
    EXPECT_NEAR(r.kr, 0.4, 0.03);
    EXPECT_GT(r.binsLeftOut + r.binsUsed, r.binsUsed); // some bins are unresolvable
    // L = 2 pi / k(fmin) lies just inside dx / L < 0.45 at the lower end.
    double L = 2 * SEA_PI / waveNumber(2 * SEA_PI * r.fmin, DEPTH);
    EXPECT_LT(0.35 / L, 0.05 + 0.01);
}

TEST(Reflection, BadInputIsRefusedWithAReason) {
    std::vector<BlockValues> three(3, emptyBlock(4096, 20.0));
    ReflectionResult r;
    std::string why;
    ReflectionOptions o = optionsFor({0.0});
    EXPECT_FALSE(separateReflection({three[0]}, o, r, &why));
    EXPECT_EQ(why, "at least two gauges are needed");
    o = optionsFor({0.0, 0.5, 0.5});
    EXPECT_FALSE(separateReflection(three, o, r, &why));
    EXPECT_EQ(why, "two gauges have the same position");
    o = optionsFor({0.0, 0.3, 0.5});
    o.depth = 0;
    EXPECT_FALSE(separateReflection(three, o, r, &why));
    EXPECT_EQ(why, "the depth must be > 0");
    // 0.1 mm apart: k dx stays far below 0.1 pi up to Nyquist.
    o = optionsFor({0.0, 0.0001});
    EXPECT_FALSE(separateReflection({three[0], three[1]}, o, r, &why));
    EXPECT_EQ(why.rfind("the gauges cannot resolve any frequency", 0), 0u) << why;
    o = optionsFor({0.0, 0.3, 0.5});
    three[2].values.resize(4000);
    EXPECT_FALSE(separateReflection(three, o, r, &why));
}

TEST(Reflection, SpectraBecomeATwoChannelMeasurement) {
    const std::vector<double> x{0.0, 0.35, 0.8};
    ReflectionResult r;
    ASSERT_TRUE(separateReflection(reflectedSea(x, 0.4), optionsFor(x), r, nullptr));
    CMeasure m;
    ASSERT_TRUE(reflectionMeasure(r, "m", m));
    EXPECT_EQ(m.channelCount, 2);
    EXPECT_EQ(m.sampleCount, 513);
    EXPECT_DOUBLE_EQ(m.sampleRate, 1024 / 20.0);
    EXPECT_STREQ(m.channels[0].name, "S incident");
    EXPECT_STREQ(m.channels[1].name, "S reflected");
    EXPECT_STREQ(m.channels[1].unit, "m^2/Hz");
}

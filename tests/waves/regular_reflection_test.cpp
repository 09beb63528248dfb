// A regular wave separated at its harmonics: the first into incident and
// reflected, the second into bound and free waves, each incident and
// reflected; an irregular sea refused.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "reflected_sea.h"
#include "waves/regular_reflection.h"
#include "waves/wave_number.h"

using namespace reflected_sea;

namespace {

// A regular wave of f = 0.6 Hz (chosen off the transform's bins): first
// harmonic 0.04 m incident, 0.3 of it reflected; at 2f bound waves of
// 2 k1 and free waves of k(2f), incident and reflected, each its own
// amplitude and phase.
struct RegularWave {
    double a1 = 0.04, kr = 0.3;
    double bound[2] = {0.006, 0.002}; // incident, reflected
    double free[2] = {0.004, 0.0015};
    double phase[6] = {0.3, -1.2, 0.8, 2.1, -0.4, 1.6};
};

std::vector<BlockValues> regularRecord(const RegularWave& w, const std::vector<double>& x,
                                       double& f) {
    const double k1 = 2 * SEA_PI / 2.6; // L = 2.6 m
    f = frequencyOf(k1);
    const double omega = 2 * SEA_PI * f;
    const double k2 = waveNumber(2 * omega, DEPTH);
    std::vector<BlockValues> gauges;
    for (size_t g = 0; g < x.size(); ++g) {
        BlockValues b = emptyBlock(6000, RATE);
        for (size_t j = 0; j < b.values.size(); ++j) {
            const double t = double(j) / RATE, p = x[g];
            b.values[j] = w.a1 * std::cos(omega * t - k1 * p + w.phase[0]) +
                          w.kr * w.a1 * std::cos(omega * t + k1 * p + w.phase[1]) +
                          w.bound[0] * std::cos(2 * omega * t - 2 * k1 * p + w.phase[2]) +
                          w.bound[1] * std::cos(2 * omega * t + 2 * k1 * p + w.phase[3]) +
                          w.free[0] * std::cos(2 * omega * t - k2 * p + w.phase[4]) +
                          w.free[1] * std::cos(2 * omega * t + k2 * p + w.phase[5]);
        }
        addNoise(b, 0.001, unsigned(70 + g));
        gauges.push_back(std::move(b));
    }
    return gauges;
}

} // namespace

TEST(RegularReflection, HarmonicsComeApart) {
    const std::vector<double> x{0.0, 0.35, 0.8, 1.4, 2.1, 2.9};
    const RegularWave w;
    double f = 0;
    const std::vector<BlockValues> gauges = regularRecord(w, x, f);
    RegularReflectionOptions o;
    o.positions = x;
    o.depth = DEPTH;
    RegularReflectionResult r;
    std::string why;
    ASSERT_TRUE(separateRegularReflection(gauges, o, r, &why)) << why;
    EXPECT_NEAR(r.frequency, f, 1e-4);
    EXPECT_NEAR(r.incident.amplitude, w.a1, 0.02 * w.a1);
    EXPECT_NEAR(r.kr, w.kr, 0.01);
    ASSERT_TRUE(r.secondHarmonic);
    const HarmonicWave* second[4] = {&r.boundIncident, &r.boundReflected, &r.freeIncident,
                                     &r.freeReflected};
    const double truth[4] = {w.bound[0], w.bound[1], w.free[0], w.free[1]};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(second[i]->amplitude, truth[i], 0.02 * w.a1) << i;
        EXPECT_NEAR(std::remainder(second[i]->phase - w.phase[2 + i], 2 * SEA_PI), 0, 0.2) << i;
    }
    // Three gauges separate the first harmonic only.
    o.positions.resize(3);
    std::vector<BlockValues> three(gauges.begin(), gauges.begin() + 3);
    ASSERT_TRUE(separateRegularReflection(three, o, r, &why)) << why;
    EXPECT_FALSE(r.secondHarmonic);
    EXPECT_NEAR(r.kr, w.kr, 0.05);
}

TEST(RegularReflection, AnIrregularSeaIsRefused) {
    const std::vector<double> x{0.0, 0.45, 0.9, 1.6};
    const Sea sea = reflectedSea(x);
    RegularReflectionOptions o;
    o.positions = x;
    o.depth = DEPTH;
    RegularReflectionResult r;
    std::string why;
    EXPECT_FALSE(separateRegularReflection(sea.gauges, o, r, &why));
    EXPECT_EQ(why.rfind("the record's peak is not one harmonic line", 0), 0u) << why;
}

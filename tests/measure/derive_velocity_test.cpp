#include "measure/derive_velocity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// Two channels of n rows; channel 1 starts as garbage that must be overwritten.
void fill(CMeasure& m, int n, double rate, const std::function<double(int)>& re,
          const std::function<double(int)>& im) {
    m.channelCount = 2;
    m.sampleCount = n;
    m.sampleRate = rate;
    m.sampleFormat = SAMPLE_FORMAT_COMPLEX; // both parts are written
    ASSERT_TRUE(m.allocateSamples());
    for (int k = 0; k < n; ++k) {
        m.setSample(0, k, Sample{float(re(k)), float(im(k))});
        m.setSample(1, k, Sample{-999.0f, 999.0f});
    }
}

// Slope at row `at` of the least-squares parabola through rows s..s+4, by the
// normal equations in t = row - (s + 2): an independent route to the end rows.
double parabolaSlope(const std::function<double(int)>& x, int s, int at, double dt) {
    double st2 = 0, st4 = 0, sy = 0, sty = 0, st2y = 0;
    for (int t = -2; t <= 2; ++t) {
        double y = float(x(s + 2 + t));
        st2 += t * t, st4 += t * t * t * t, sy += y, sty += t * y, st2y += t * t * y;
    }
    double b = sty / st2;                                     // linear term
    double c = (5 * st2y - st2 * sy) / (5 * st4 - st2 * st2); // quadratic term
    double t = at - (s + 2);
    return (b + 2 * c * t) / dt;
}

} // namespace

TEST(DeriveVelocity, LinesAndParabolasAreReproducedExactly) {
    // x = 3k at dt = 0.1 has v = 3 / dt = 30 in every row, ends included; x = k^2
    // with dt = 1 has v = 2k, and its negative in the imaginary part -2k.
    for (int n : {5, 6, 7, 20}) {
        CMeasure line, parabola;
        fill(
            line, n, 10.0, [](int k) { return 3.0 * k; }, [](int) { return 0.0; });
        fill(
            parabola, n, 1.0, [](int k) { return double(k * k); }, [](int k) { return -k * k; });
        deriveVelocity(line);
        deriveVelocity(parabola);
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(line.sample(1, k).re, 30.0, 1e-4) << "n " << n << " row " << k;
            EXPECT_EQ(line.sample(1, k).im, 0.0f);
            EXPECT_NEAR(parabola.value(1, k), 2.0 * k, 1e-4) << "n " << n << " row " << k;
            EXPECT_NEAR(parabola.sample(1, k).im, -2.0 * k, 1e-4) << "n " << n << " row " << k;
        }
    }
}

TEST(DeriveVelocity, EndsFollowTheirOwnParabolaAndInsideTheFivePointSlope) {
    // A signal no parabola fits, so a wrong window at either end shows.
    auto x = [](int k) { return std::sin(0.7 * k) + 0.05 * k * k * k; };
    const int n = 11;
    const double dt = 0.25;
    CMeasure m;
    fill(m, n, 1.0 / dt, x, [](int) { return 0.0; });
    deriveVelocity(m);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(m.value(1, k), parabolaSlope(x, 0, k, dt), 1e-3) << k;
        EXPECT_NEAR(m.value(1, n - 1 - k), parabolaSlope(x, n - 5, n - 1 - k, dt), 1e-3) << k;
    }
    for (int k = 3; k <= n - 4; ++k) // a parabola's centre slope is the five-point slope
        EXPECT_NEAR(m.value(1, k), parabolaSlope(x, k - 2, k, dt), 1e-3) << k;
}

TEST(DeriveVelocity, FewerThanFiveSamplesLeaveChannelOneZero) {
    for (int n : {1, 2, 4}) {
        CMeasure m;
        fill(
            m, n, 1.0, [](int k) { return k * 7.0; }, [](int k) { return k; });
        deriveVelocity(m);
        for (int k = 0; k < n; ++k) {
            EXPECT_EQ(m.value(1, k), 0.0f);
            EXPECT_EQ(m.sample(1, k).im, 0.0f);
            EXPECT_EQ(m.value(0, k), float(k * 7.0)); // the source is left alone
        }
    }
    CMeasure empty; // no block, no channels: nothing to do, nothing touched
    deriveVelocity(empty);
    EXPECT_FALSE(empty.hasSamples());
}

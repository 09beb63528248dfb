#include "numeric/dispersion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/wave_length.h"

TEST(Dispersion, DefaultWaveAgreesWithBisectionOnTheWaveLength) {
    // L = 8 m, h = 0.6 m: the period found must give back L = 8 m when the
    // dispersion relation is solved for L by bisection (a different unknown).
    double T = dispersionPeriod(8.0, 0.6);
    EXPECT_NEAR(lengthForPeriod(T, 0.6), 8.0, 1e-9);
    // Hand calculation: k = pi/4, tanh(0.3 pi) = 0.43917, w^2 = 9.81 k tanh = 3.38393.
    EXPECT_NEAR(T, 3.41562, 1e-5);
}

TEST(Dispersion, DeepAndShallowWaterLimits) {
    // Deep water (h >> L): w^2 = g k, T = sqrt(2 pi L / g).
    EXPECT_NEAR(dispersionPeriod(1.0, 100.0), std::sqrt(2 * TEST_PI / TEST_G), 1e-12);
    // Shallow water (kh = 6.3e-4): c = sqrt(g h), T = L / c up to (kh)^2/6 = 7e-8.
    double shallow = 1000.0 / std::sqrt(TEST_G * 0.1);
    EXPECT_NEAR(dispersionPeriod(1000.0, 0.1) / shallow, 1.0, 1e-6);
}

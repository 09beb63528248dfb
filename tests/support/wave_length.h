// Linear wave theory solved for the wave length by bisection: a way to the
// dispersion relation independent of the code under test, for its tests and
// for the generator's.
#pragma once

#include <cmath>

constexpr double TEST_PI = 3.141592653589793;
constexpr double TEST_G = 9.81;

// The wave length of period T in water of depth h:
// L - (g T^2 / 2 pi) tanh(2 pi h / L) rises monotonically in L.
inline double lengthForPeriod(double T, double h) {
    double lo = 1e-6, hi = 1e6;
    for (int i = 0; i < 200; ++i) {
        double mid = 0.5 * (lo + hi);
        double f = mid - TEST_G * T * T / (2 * TEST_PI) * std::tanh(2 * TEST_PI * h / mid);
        (f > 0 ? hi : lo) = mid;
    }
    return 0.5 * (lo + hi);
}

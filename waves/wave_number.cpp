#include "waves/wave_number.h"

#include <cmath>

#include "numeric/constants.h"

namespace {

// Newton steps on f(k) = g k tanh(k h) - omega^2, which is convex and
// increasing in k, so that they converge from any start above 0.
double newton(double omega, double depth, double k) {
    for (int i = 0; i < 50; ++i) {
        double t = std::tanh(k * depth);
        double f = GRAVITY * k * t - omega * omega;
        double df = GRAVITY * (t + k * depth * (1 - t * t));
        double next = k - f / df;
        if (std::abs(next - k) <= 1e-14 * k) return next;
        k = next;
    }
    return k;
}

bool validInput(double omega, double depth) {
    return omega >= 0 && depth > 0 && std::isfinite(omega) && std::isfinite(depth);
}

} // namespace

double waveNumber(double omega, double depth) {
    if (!validInput(omega, depth)) return NAN;
    if (omega == 0) return 0;
    // Start from the explicit approximation of Fenton and McKee (1990),
    // k0 / tanh((k0 h)^(3/4))^(2/3) with k0 = omega^2 / g.
    const double k0 = omega * omega / GRAVITY;
    return newton(omega, depth, k0 / std::pow(std::tanh(std::pow(k0 * depth, 0.75)), 2.0 / 3.0));
}

double waveNumberNear(double omega, double depth, double guess) {
    if (!validInput(omega, depth)) return NAN;
    if (omega == 0) return 0;
    if (!(guess > 0) || !std::isfinite(guess)) return waveNumber(omega, depth);
    return newton(omega, depth, guess);
}

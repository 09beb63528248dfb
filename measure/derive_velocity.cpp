#include "measure/derive_velocity.h"

namespace {

constexpr int WINDOW = 5;

using Part = float Sample::*;

// Five-point least-squares slope centred on row k.
double slope(const CMeasure& m, Part part, int k, double dt) {
    auto x = [&](int row) { return double(m.at(0, row).*part); };
    return (-2 * x(k - 2) - x(k - 1) + x(k + 1) + 2 * x(k + 2)) / (10 * dt);
}

// Second derivative of the least-squares parabola through rows s .. s+4.
double curvature(const CMeasure& m, Part part, int s, double dt) {
    auto x = [&](int row) { return double(m.at(0, row).*part); };
    return (2 * x(s) - x(s + 1) - 2 * x(s + 2) - x(s + 3) + 2 * x(s + 4)) / (7 * dt * dt);
}

void derivePart(CMeasure& m, Part part, double dt) {
    const int n = m.sampleCount;
    auto v = [&](int row, double value) { m.at(1, row).*part = float(value); };
    double head = slope(m, part, 2, dt);
    double headCurve = curvature(m, part, 0, dt);
    double tail = slope(m, part, n - 3, dt);
    double tailCurve = curvature(m, part, n - WINDOW, dt);
    v(0, head - 2 * dt * headCurve);
    v(1, head - dt * headCurve);
    v(2, head);
    for (int k = 3; k <= n - 4; ++k)
        v(k, slope(m, part, k, dt));
    v(n - 3, tail);
    v(n - 2, tail + dt * tailCurve);
    v(n - 1, tail + 2 * dt * tailCurve);
}

} // namespace

void deriveVelocity(CMeasure& m) {
    if (!m.samples || m.channelCount < 2) return;
    if (m.sampleCount < WINDOW) {
        // Too short for a five-point derivative; no velocity is better than a guess.
        for (int j = 0; j < m.sampleCount; ++j)
            m.at(1, j) = Sample{0.0f, 0.0f};
        return;
    }
    const double dt = 1.0 / m.sampleRate;
    derivePart(m, &Sample::re, dt);
    derivePart(m, &Sample::im, dt);
}

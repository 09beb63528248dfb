#include "measure/derive_velocity.h"

namespace {

constexpr int WINDOW = 5;

// The real parts of a channel's run, or the imaginary parts (one float on).
struct Part {
    const float* first;
    int64_t stride;
    double operator()(int64_t row) const { return double(first[row * stride]); }
};

// Five-point least-squares slope centred on row k.
double slope(const Part& x, int k, double dt) {
    return (-2 * x(k - 2) - x(k - 1) + x(k + 1) + 2 * x(k + 2)) / (10 * dt);
}

// Second derivative of the least-squares parabola through rows s .. s+4.
double curvature(const Part& x, int s, double dt) {
    return (2 * x(s) - x(s + 1) - 2 * x(s + 2) - x(s + 3) + 2 * x(s + 4)) / (7 * dt * dt);
}

void derivePart(CMeasure& m, int part, double dt) {
    const int n = m.sampleCount;
    const ChannelValues in = m.values(0);
    const ChannelSpan out = m.span(1);
    const Part x{in.re + part, in.stride};
    auto v = [&](int row, double value) { out.re[row * out.stride + part] = float(value); };
    double head = slope(x, 2, dt);
    double headCurve = curvature(x, 0, dt);
    double tail = slope(x, n - 3, dt);
    double tailCurve = curvature(x, n - WINDOW, dt);
    v(0, head - 2 * dt * headCurve);
    v(1, head - dt * headCurve);
    v(2, head);
    for (int k = 3; k <= n - 4; ++k)
        v(k, slope(x, k, dt));
    v(n - 3, tail);
    v(n - 2, tail + dt * tailCurve);
    v(n - 1, tail + 2 * dt * tailCurve);
}

} // namespace

void deriveVelocity(CMeasure& m) {
    if (!m.hasSamples() || m.channelCount < 2) return;
    if (m.sampleCount < WINDOW) {
        // Too short for a five-point derivative; no velocity is better than a guess.
        for (int j = 0; j < m.sampleCount; ++j)
            m.setSample(1, j, Sample{0.0f, 0.0f});
        return;
    }
    const double dt = 1.0 / m.sampleRate;
    derivePart(m, 0, dt);
    // A real record holds no imaginary parts to derive.
    if (m.values(0).complex && m.values(1).complex) derivePart(m, 1, dt);
}

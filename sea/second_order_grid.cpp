#include "sea/second_order_grid.h"

#include <algorithm>
#include <cmath>

#include "numeric/constants.h"
#include "sea/second_order_pair.h"
#include "sea/wave_modes.h"

namespace {

// A difference on the diagonal is its limit, taken this close to it.
constexpr double DIAGONAL_OFFSET = 1e-6;

} // namespace

PairKernel SecondOrderGrid::exactSum(const Paddle& paddle, double depth, double f1, double f2) {
    const PaddleWave a = paddleWave(2 * PI * f1, paddle, depth, SEA_EVANESCENT_MODES);
    const PaddleWave b = paddleWave(2 * PI * f2, paddle, depth, SEA_EVANESCENT_MODES);
    const PairTransfer t = pairTransfer(a, b, paddle, depth);
    return {t.stroke, t.elevation};
}

PairKernel SecondOrderGrid::exactDifference(const Paddle& paddle, double depth, double f1,
                                            double f2) {
    const PaddleWave a = paddleWave(2 * PI * f1, paddle, depth, SEA_EVANESCENT_MODES);
    const PaddleWave b = paddleWave(2 * PI * f2, paddle, depth, SEA_EVANESCENT_MODES);
    const PairTransfer t = pairTransfer(a, conjugate(b), paddle, depth);
    return {t.stroke, t.elevation};
}

SecondOrderGrid::SecondOrderGrid(const Paddle& paddle, double depth, double lowHz, double highHz,
                                 int count)
    : low(lowHz), step((highHz - lowHz) / (count - 1)), nodes(count) {
    const size_t cells = size_t(count) * size_t(count);
    sumStroke.resize(cells);
    sumElevation.resize(cells);
    differenceVelocity.resize(cells);
    differenceElevation.resize(cells);
    std::vector<PaddleWave> waves;
    for (int i = 0; i < count; ++i)
        waves.push_back(paddleWave(2 * PI * (low + step * i), paddle, depth, SEA_EVANESCENT_MODES));
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j <= i; ++j) {
            const PairTransfer s = pairTransfer(waves[size_t(i)], waves[size_t(j)], paddle, depth);
            const size_t ij = size_t(i) * size_t(count) + size_t(j);
            const size_t ji = size_t(j) * size_t(count) + size_t(i);
            sumStroke[ij] = sumStroke[ji] = s.stroke;
            sumElevation[ij] = sumElevation[ji] = s.elevation;
            const double f1 = low + step * i;
            const bool diagonal = i == j;
            const PaddleWave upper = diagonal ? paddleWave(2 * PI * f1 * (1 + DIAGONAL_OFFSET),
                                                           paddle, depth, SEA_EVANESCENT_MODES)
                                              : waves[size_t(i)];
            const PairTransfer d = pairTransfer(upper, conjugate(waves[size_t(j)]), paddle, depth);
            const Complex velocity = Complex(0, upper.omega - waves[size_t(j)].omega) * d.stroke;
            differenceVelocity[ij] = velocity;
            differenceVelocity[ji] = std::conj(velocity);
            differenceElevation[ij] = d.elevation;
            differenceElevation[ji] = std::conj(d.elevation);
            if (diagonal) {
                // Real on the diagonal: the offset's imaginary part is its error.
                differenceVelocity[ij] = velocity.real();
                differenceElevation[ij] = d.elevation.real();
            }
        }
    }
}

SecondOrderGrid::Point SecondOrderGrid::pointAt(double f) const {
    const double x = (f - low) / step;
    Point w;
    w.first = std::clamp(int(std::floor(x)) - 1, 0, nodes - 4);
    for (int m = 0; m < 4; ++m) {
        double l = 1;
        for (int q = 0; q < 4; ++q)
            if (q != m) l *= (x - (w.first + q)) / double(m - q);
        w.w[m] = l;
    }
    return w;
}

Complex SecondOrderGrid::interpolate(const std::vector<Complex>& table, const Point& a,
                                     const Point& b) const {
    Complex sum = 0;
    for (int m = 0; m < 4; ++m) {
        const Complex* row = &table[size_t(a.first + m) * size_t(nodes) + size_t(b.first)];
        Complex inner = 0;
        for (int q = 0; q < 4; ++q)
            inner += b.w[q] * row[q];
        sum += a.w[m] * inner;
    }
    return sum;
}

PairKernel SecondOrderGrid::sum(const Point& a, const Point& b) const {
    return {interpolate(sumStroke, a, b), interpolate(sumElevation, a, b)};
}

PairKernel SecondOrderGrid::difference(const Point& a, const Point& b, double omega) const {
    return {interpolate(differenceVelocity, a, b) / Complex(0, omega),
            interpolate(differenceElevation, a, b)};
}

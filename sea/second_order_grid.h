// The second-order transfer functions of one flume on a grid of frequency
// pairs, interpolated between: the exact pair costs about half a
// millisecond (its evanescent modes), and an irregular sea has millions of
// pairs. The functions are smooth in both frequencies, so 4-point Lagrange
// interpolation in each keeps them to about 2e-4 of their size on 48
// nodes (1e-3 on 32: the difference of a piston has narrow peaks).
#pragma once

#include <complex>
#include <vector>

#include "sea/paddle_transfer.h"

using Complex = std::complex<double>;

// Per unit A_1 A_2 (sum) or A_1 conj(A_2) (difference), f1 > f2 for a
// difference: the paddle's second-order displacement and the bound elevation.
struct PairKernel {
    Complex stroke;
    Complex elevation;
};

class SecondOrderGrid {
  public:
    // The pairs of frequencies from `low` to `high` Hz; `nodes` >= 4 per side.
    SecondOrderGrid(const Paddle& paddle, double depth, double low, double high, int nodes);

    // Where a frequency falls between the nodes: worked out once a
    // frequency, used for every pair it is in.
    struct Point {
        int first;
        double w[4];
    };
    Point pointAt(double f) const;

    PairKernel sum(const Point& f1, const Point& f2) const;
    // f1 > f2, `omega` = 2 pi (f1 - f2).
    PairKernel difference(const Point& f1, const Point& f2, double omega) const;

    // The exact transfer functions of the pair, as the grid holds them.
    static PairKernel exactSum(const Paddle& paddle, double depth, double f1, double f2);
    static PairKernel exactDifference(const Paddle& paddle, double depth, double f1, double f2);

  private:
    Complex interpolate(const std::vector<Complex>& table, const Point& a, const Point& b) const;

    double low, step;
    int nodes;
    // Row-major nodes x nodes: the sum's stroke and elevation, and the
    // difference's paddle velocity i Omega X2 (finite as Omega -> 0, where
    // X2 is not) and elevation; a difference's table is Hermitian, f1 < f2
    // being the conjugate of f2 > f1.
    std::vector<Complex> sumStroke, sumElevation, differenceVelocity, differenceElevation;
};

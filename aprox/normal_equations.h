// Normal equations of a least-squares fit: the sums of j(n) j(n)^T and of
// w(n) j(n) over the samples, for up to APROX_MAX_UNKNOWNS unknowns.
#pragma once

#include "aprox/aprox_params.h"

class NormalEquations {
  public:
    // Rows are added to the sums a few at a time, each sum still taken in
    // sample order, so the result equals that of adding row by row while the
    // matrix is loaded and stored once per group instead of once per row.
    static constexpr int GROUP = 4;

    // Clears both sums for a system of `order` unknowns (1 .. APROX_MAX_UNKNOWNS).
    void reset(int order);
    int order() const { return order_; }

    // The next row j(n); fill `order()` entries, then commit it with its weight.
    double* row() { return rows_[pending_]; }
    void commit(double weight) {
        weights_[pending_] = weight;
        if (++pending_ == GROUP) flush();
    }

    // Adds the pending rows and copies the upper triangle onto the lower one.
    // Call once after the last row.
    void complete();

    // Row-major order x order; only the upper triangle is summed until complete().
    double* matrix() { return matrix_; }
    const double* matrix() const { return matrix_; }
    double* rhs() { return rhs_; }
    const double* rhs() const { return rhs_; }

  private:
    void flush();

    int order_ = 0;
    int pending_ = 0;
    double rows_[GROUP][APROX_MAX_UNKNOWNS];
    double weights_[GROUP];
    double matrix_[APROX_MAX_UNKNOWNS * APROX_MAX_UNKNOWNS];
    double rhs_[APROX_MAX_UNKNOWNS];
};

// Scaled pivots below this mean the unknowns are not determined by the data:
// two columns equal or one column zero to within rounding.
constexpr double APROX_RANK_TOLERANCE = 1e-12;

// Whether a symmetric Gram matrix (a sum of j j^T) has full rank well above
// rounding: every pivot of its Cholesky factor, after scaling the diagonal to
// 1, is at least APROX_RANK_TOLERANCE. A zero or non-finite diagonal fails.
bool gramFullRank(int order, const double* gram);

// Solves A x = b in place (b receives x; A is destroyed). False when the
// solver reports a singular system or the solution is not finite; b is then
// not to be used.
bool solveSystem(int order, double* A, double* b);

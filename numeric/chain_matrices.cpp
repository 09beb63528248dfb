#include "numeric/chain_matrices.h"

#include "numeric/matrix.h"
#include "numeric/polynomial.h"

#include <cmath>
#include <cstddef>

namespace {

double* row(double* M, int n, int i) {
    return M + std::size_t(i) * std::size_t(n);
}

double* new_zero_matrix(int n) {
    if (n < 1) return nullptr;
    double* M = mat_alloc(n);
    if (M) mat_zero(n, M);
    return M;
}

} // namespace

double* mat_binomial_diff(int n, double x) {
    double* M = new_zero_matrix(n);
    if (!M) return nullptr;
    row(M, n, 0)[n - 1] = 1.0;
    // Each row is the previous one convolved with (x, -x): one more factor x(1 - z).
    const double step[2] = {x, -x};
    for (int i = 1; i < n; ++i)
        poly_mul(row(M, n, i) + (n - 1 - i), i, row(M, n, i - 1) + (n - i), 2, step);
    return M;
}

double* mat_poisson(int n, double a, double b) {
    double* M = new_zero_matrix(n);
    if (!M) return nullptr;
    M[0] = std::exp(-(a * b));
    for (int k = 1; k < n; ++k)
        row(M, n, k)[0] = row(M, n, k - 1)[0] * a * b / k;
    // Toeplitz: every diagonal repeats the first column.
    for (int i = 1; i < n; ++i)
        for (int j = 1; j <= i; ++j)
            row(M, n, i)[j] = row(M, n, i - 1)[j - 1];
    return M;
}

double* mat_binomial_prob(int n, double x) {
    double* M = new_zero_matrix(n);
    if (!M) return nullptr;
    M[0] = 1.0;
    for (int k = 1; k < n; ++k) {
        double edge = std::exp(-k * std::log(2.0));
        row(M, n, k)[0] = edge;
        row(M, n, 0)[k] = edge;
    }
    // Pascal's rule halved: C(i+j, i) / 2^(i+j) from its two neighbours.
    for (int i = 1; i < n; ++i) {
        for (int j = i; j < n; ++j) {
            double value = (row(M, n, i)[j - 1] + row(M, n, i - 1)[j]) / 2.0;
            row(M, n, i)[j] = value;
            row(M, n, j)[i] = value;
        }
    }
    mat_scale(n, M, x / row(M, n, n - 1)[n - 1], M);
    return M;
}

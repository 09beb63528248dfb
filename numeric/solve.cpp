#include "numeric/solve.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace {

std::size_t at(int n, int i, int j) {
    return std::size_t(i) * std::size_t(n) + std::size_t(j);
}

bool usable_pivot(double p) {
    return std::isfinite(p) && std::fabs(p) >= SOLVE_EPS;
}

// Largest magnitude in rows and columns k .. n-1, scanned row by row; only a
// strictly larger element replaces the best, so the first maximum wins. Fails on
// a pivot below SOLVE_EPS and on any element that is not finite.
bool find_pivot(int n, const double* A, int k, int& row, int& col) {
    double best = -1.0;
    for (int i = k; i < n; ++i) {
        for (int j = k; j < n; ++j) {
            double a = A[at(n, i, j)];
            if (!std::isfinite(a)) return false;
            if (std::fabs(a) > best) {
                best = std::fabs(a);
                row = i;
                col = j;
            }
        }
    }
    return best >= SOLVE_EPS;
}

void swap_rows(int n, double* A, double* b, int k, int r) {
    for (int j = k; j < n; ++j)
        std::swap(A[at(n, k, j)], A[at(n, r, j)]);
    std::swap(b[k], b[r]);
}

void swap_columns(int n, double* A, int k, int c) {
    for (int i = 0; i < n; ++i)
        std::swap(A[at(n, i, k)], A[at(n, i, c)]);
}

// Divides row k right of the pivot by the pivot and clears column k below it.
// Column k itself is left as it is: back substitution never reads it.
void eliminate(int n, double* A, double* b, int k) {
    double p = A[at(n, k, k)];
    for (int j = k + 1; j < n; ++j)
        A[at(n, k, j)] /= p;
    b[k] /= p;
    for (int i = k + 1; i < n; ++i) {
        double f = A[at(n, i, k)];
        for (int j = k + 1; j < n; ++j)
            A[at(n, i, j)] -= A[at(n, k, j)] * f;
        b[i] -= f * b[k];
    }
}

void back_substitute(int n, const double* A, double* b) {
    for (int i = n - 2; i >= 0; --i) {
        double sum = 0.0;
        for (int j = i + 1; j < n; ++j)
            sum += A[at(n, i, j)] * b[j];
        b[i] -= sum;
    }
}

bool all_finite(int n, const double* v) {
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

// 0 is the failure report, so a product of valid pivots that underflows is
// returned as the smallest normal double with the product's sign.
double pivot_product(double D, double last) {
    double product = D * last;
    if (product == 0.0) return std::copysign(std::numeric_limits<double>::min(), product);
    return product;
}

double solve_single(double* A, double* b) {
    double p = A[0];
    if (!usable_pivot(p)) return 0.0;
    b[0] /= p;
    if (!std::isfinite(b[0])) return 0.0;
    return p;
}

} // namespace

double mat_solve(int n, double* A, double* b) {
    if (n < 1 || n > SOLVE_MAX_ORDER) return 0.0;
    if (n == 1) return solve_single(A, b);

    int perm[SOLVE_MAX_ORDER];
    for (int k = 0; k < n; ++k)
        perm[k] = -1;
    double D = 1.0;

    for (int k = 0; k < n - 1; ++k) {
        int r = k, c = k;
        if (!find_pivot(n, A, k, r, c)) return 0.0;
        if (r != k) swap_rows(n, A, b, k, r);
        if (c != k) {
            swap_columns(n, A, k, c);
            perm[k] = c;
        }
        D *= A[at(n, k, k)];
        eliminate(n, A, b, k);
    }

    double last = A[at(n, n - 1, n - 1)];
    if (!usable_pivot(last)) return 0.0;
    b[n - 1] /= last;
    back_substitute(n, A, b);

    // The column exchanges permuted the unknowns; undo them in reverse order.
    for (int k = n - 1; k >= 0; --k)
        if (perm[k] >= 0) std::swap(b[k], b[perm[k]]);

    if (!all_finite(n, b)) return 0.0;
    return pivot_product(D, last);
}

int mat_cholesky(int n, double* A) {
    int positive = 1;
    for (int i = 0; i < n; ++i) {
        double radicand = A[at(n, i, i)];
        for (int k = 0; k < i; ++k)
            radicand -= A[at(n, i, k)] * A[at(n, i, k)];

        // A radicand that is not positive would give NaN; a zero column keeps L
        // finite and is the right factor when the matrix is only semi-definite.
        bool good = radicand > 0.0 && std::isfinite(radicand);
        if (!good) positive = 0;
        double d = good ? std::sqrt(radicand) : 0.0;
        A[at(n, i, i)] = d;

        for (int j = i + 1; j < n; ++j) {
            double value = 0.0;
            if (good) {
                value = A[at(n, j, i)];
                for (int k = 0; k < i; ++k)
                    value -= A[at(n, j, k)] * A[at(n, i, k)];
                value /= d;
            }
            A[at(n, j, i)] = value;
            A[at(n, i, j)] = 0.0;
        }
    }
    return positive;
}

#include "aprox/normal_equations.h"

#include <cmath>

#include "numeric/numeric.h"

namespace {

// Where the processor has AVX the sums below take four columns per
// instruction instead of two. Without FMA every sum still gets the same
// multiplications and additions in the same order, so both paths agree to
// the bit. The thread sanitizer cannot run the selecting code, which runs
// before it has started.
#if defined(__SANITIZE_THREAD__)
#define THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define THREAD_SANITIZER 1
#endif
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(THREAD_SANITIZER)
#define WIDE_WHERE_AVAILABLE __attribute__((target_clones("avx", "default")))
#else
#define WIDE_WHERE_AVAILABLE
#endif

// matrix[a][b] += sum over the rows s (in order) of rows[s][a] * rows[s][b],
// for b >= a; the loop over b carries no dependence and vectorises.
template <int ROWS>
WIDE_WHERE_AVAILABLE void addUpper(int n, double* matrix,
                                   const double (*rows)[APROX_MAX_UNKNOWNS]) {
    for (int a = 0; a < n; ++a) {
        double left[ROWS];
        for (int s = 0; s < ROWS; ++s)
            left[s] = rows[s][a];
        double* out = matrix + a * n;
        for (int b = a; b < n; ++b) {
            double sum = out[b];
            for (int s = 0; s < ROWS; ++s)
                sum += left[s] * rows[s][b];
            out[b] = sum;
        }
    }
}

void addUpperSome(int n, double* matrix, const double (*rows)[APROX_MAX_UNKNOWNS], int count) {
    switch (count) {
    case 1:
        addUpper<1>(n, matrix, rows);
        break;
    case 2:
        addUpper<2>(n, matrix, rows);
        break;
    case 3:
        addUpper<3>(n, matrix, rows);
        break;
    default:
        break;
    }
}

} // namespace

void NormalEquations::reset(int order) {
    order_ = order < 1 ? 1 : (order > APROX_MAX_UNKNOWNS ? APROX_MAX_UNKNOWNS : order);
    pending_ = 0;
    mat_zero(order_, matrix_);
    vec_zero(order_, rhs_);
}

void NormalEquations::flush() {
    for (int s = 0; s < pending_; ++s)
        for (int a = 0; a < order_; ++a)
            rhs_[a] += weights_[s] * rows_[s][a];
    if (pending_ == GROUP)
        addUpper<GROUP>(order_, matrix_, rows_);
    else
        addUpperSome(order_, matrix_, rows_, pending_);
    pending_ = 0;
}

void NormalEquations::complete() {
    if (pending_ > 0) flush();
    mat_mirror_upper(order_, matrix_);
}

bool gramFullRank(int order, const double* gram) {
    if (order < 1 || order > APROX_MAX_UNKNOWNS) return false;
    double scale[APROX_MAX_UNKNOWNS];
    for (int i = 0; i < order; ++i) {
        double diagonal = gram[i * order + i];
        if (!(diagonal > 0.0) || !std::isfinite(diagonal)) return false;
        scale[i] = 1.0 / std::sqrt(diagonal);
    }
    double scaled[APROX_MAX_UNKNOWNS * APROX_MAX_UNKNOWNS];
    for (int i = 0; i < order; ++i)
        for (int j = 0; j < order; ++j)
            scaled[i * order + j] = gram[i * order + j] * scale[i] * scale[j];
    if (!mat_cholesky(order, scaled)) return false;
    for (int i = 0; i < order; ++i) {
        double pivot = scaled[i * order + i];
        if (!(pivot * pivot >= APROX_RANK_TOLERANCE)) return false;
    }
    return true;
}

bool solveSystem(int order, double* A, double* b) {
    if (mat_solve(order, A, b) == 0.0) return false;
    for (int i = 0; i < order; ++i)
        if (!std::isfinite(b[i])) return false;
    return true;
}

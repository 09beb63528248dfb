#include "numeric/matrix.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Element count n*n as size_t, so large orders do not overflow int arithmetic.
std::size_t elements(int n) {
    return n > 0 ? std::size_t(n) * std::size_t(n) : 0;
}

std::size_t at(int n, int i, int j) {
    return std::size_t(i) * std::size_t(n) + std::size_t(j);
}

// P[i][j] += sign * sum_k Q[i][k] * R[j][k]
void add_mul_bt(int n, double* P, const double* Q, const double* R, double sign) {
    for (int i = 0; i < n; ++i) {
        const double* q = Q + at(n, i, 0);
        for (int j = 0; j < n; ++j) {
            const double* r = R + at(n, j, 0);
            double sum = 0.0;
            for (int k = 0; k < n; ++k)
                sum += q[k] * r[k];
            P[at(n, i, j)] += sign * sum;
        }
    }
}

} // namespace

double* mat_alloc(int n) {
    if (n < 0) return nullptr;
    if (n > 0 && std::size_t(n) > SIZE_MAX / sizeof(double) / std::size_t(n)) return nullptr;
    // A zero-order request still returns a real block: null means failure only.
    std::size_t count = n > 0 ? elements(n) : 1;
    return static_cast<double*>(std::malloc(count * sizeof(double)));
}

void mat_zero(int n, double* M) {
    std::size_t count = elements(n);
    for (std::size_t i = 0; i < count; ++i)
        M[i] = 0.0;
}

void mat_copy(int n, double* dst, const double* src) {
    std::size_t count = elements(n);
    for (std::size_t i = 0; i < count; ++i)
        dst[i] = src[i];
}

void mat_scale(int n, double* out, double x, const double* in) {
    std::size_t count = elements(n);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = x * in[i];
}

void mat_mul_vec(int n, double* out, const double* A, const double* v) {
    for (int i = 0; i < n; ++i) {
        const double* a = A + at(n, i, 0);
        double sum = 0.0;
        for (int k = 0; k < n; ++k)
            sum += a[k] * v[k];
        out[i] = sum;
    }
}

void mat_mul(int n, double* out, const double* A, const double* B) {
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k)
                sum += A[at(n, i, k)] * B[at(n, k, j)];
            out[at(n, i, j)] = sum;
        }
    }
}

void mat_add_mul_bt(int n, double* P, const double* Q, const double* R) {
    add_mul_bt(n, P, Q, R, 1.0);
}

void mat_sub_mul_bt(int n, double* P, const double* Q, const double* R) {
    add_mul_bt(n, P, Q, R, -1.0);
}

void mat_sub_outer(int n, double* P, const double* v, const double* w) {
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            P[at(n, i, j)] -= v[i] * w[j];
}

int mat_sub_qpqt(int n, double* P, const double* Q) {
    if (n <= 0) return 1;
    double* T = mat_alloc(n);
    if (!T) return 0;
    mat_mul(n, T, Q, P);
    mat_sub_mul_bt(n, P, T, Q);
    std::free(T);
    return 1;
}

void mat_symmetrize(int n, double* P) {
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            double mean = (P[at(n, i, j)] + P[at(n, j, i)]) / 2.0;
            P[at(n, i, j)] = mean;
            P[at(n, j, i)] = mean;
        }
    }
}

void mat_mirror_upper(int n, double* P) {
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            P[at(n, j, i)] = P[at(n, i, j)];
}

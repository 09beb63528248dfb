#include "numeric/vector.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

double* vec_alloc(int n) {
    if (n < 0 || std::size_t(n) > SIZE_MAX / sizeof(double)) return nullptr;
    // A zero-length request still returns a real block: null means failure only.
    std::size_t count = n > 0 ? std::size_t(n) : 1;
    return static_cast<double*>(std::malloc(count * sizeof(double)));
}

void vec_zero(int n, double* v) {
    for (int i = 0; i < n; ++i)
        v[i] = 0.0;
}

void vec_copy(int n, double* dst, const double* src) {
    for (int i = 0; i < n; ++i)
        dst[i] = src[i];
}

void vec_add(int n, double* v, const double* w) {
    for (int i = 0; i < n; ++i)
        v[i] += w[i];
}

void vec_sub(int n, double* v, const double* w) {
    for (int i = 0; i < n; ++i)
        v[i] -= w[i];
}

void vec_rsub(int n, double* v, const double* w) {
    for (int i = 0; i < n; ++i)
        v[i] = w[i] - v[i];
}

double vec_dot(int n, const double* v, const double* w) {
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += v[i] * w[i];
    return sum;
}

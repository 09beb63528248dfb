#include "numeric/polynomial.h"

void poly_mul(double* out, int na, const double* a, int nb, const double* b) {
    if (na < 0 || nb < 0) return;
    int count = na + nb - 1;
    for (int k = 0; k < count; ++k)
        out[k] = 0.0;
    for (int i = 0; i < nb; ++i)
        for (int j = 0; j < na; ++j)
            out[i + j] += a[j] * b[i];
}

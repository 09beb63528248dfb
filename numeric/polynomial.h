#pragma once

// Product of two polynomials given by their coefficients (same order in and out):
// out gets na + nb - 1 coefficients, out[i + j] = sum of a[j] * b[i].
// out must not overlap a or b.
void poly_mul(double* out, int na, const double* a, int nb, const double* b);

#pragma once

// Matrices of the envelope chains used by the wave generator. Each returns a new
// n x n matrix from mat_alloc, owned by the caller and released with std::free,
// or null when n < 1 or the allocation fails.

// Row i holds x^i times the coefficients of (1 - z)^i, right-aligned:
// M[i][n-1-i+k] = (-1)^k * C(i, k) * x^i for k = 0 .. i, zeros elsewhere.
double* mat_binomial_diff(int n, double x);

// Lower-triangular Toeplitz matrix of Poisson weights, with L = a * b:
// M[i][j] = exp(-L) * L^(i-j) / (i-j)! for i >= j, 0 above the diagonal.
double* mat_poisson(int n, double a, double b);

// Symmetric matrix C(i+j, i) / 2^(i+j), scaled so that M[n-1][n-1] = x.
double* mat_binomial_prob(int n, double x);

#pragma once

// A pivot of magnitude below this (absolute) threshold makes a system singular.
constexpr double SOLVE_EPS = 1e-17;

// The column-exchange record of mat_solve holds this many entries.
constexpr int SOLVE_MAX_ORDER = 101;

// Solves A * x = b by Gaussian elimination with complete pivoting: b receives x
// and A is destroyed. Returns the product of the pivots (the determinant up to its
// sign), or 0 when the system is singular (a pivot below SOLVE_EPS), when A holds a
// NaN or an infinity or the solution does, or when the order is outside
// 1 .. SOLVE_MAX_ORDER. After a failed solve A and b are left partly transformed;
// a refused order leaves both untouched. A product that underflows is returned as
// the smallest normal double of its sign, so 0 always means failure.
double mat_solve(int n, double* A, double* b);

// Replaces A by its lower Cholesky factor L (A = L * L^T, upper part zeroed),
// reading only the diagonal and the lower triangle. Returns 1 when A was positive
// definite. When a diagonal radicand is not positive (or not a number) that
// column of L is set to 0 and the factorisation goes on, so L stays finite for a
// semi-definite A spoiled by rounding; the return value is then 0.
int mat_cholesky(int n, double* A);

#pragma once

// Square matrices of order n: n*n doubles in row-major order, element (i, j) at
// i*n + j. The order comes first, then the operand that is written. Outputs must
// not overlap inputs unless a routine says it works in place.

// Uninitialised storage for an n x n matrix, released with std::free; null when
// the allocator fails or n is negative or too large. n = 0 still gives a valid
// block so that null always means failure.
double* mat_alloc(int n);

void mat_zero(int n, double* M);
void mat_copy(int n, double* dst, const double* src);

// out = x * in elementwise; out may be in.
void mat_scale(int n, double* out, double x, const double* in);

// out = A * v (vectors of length n).
void mat_mul_vec(int n, double* out, const double* A, const double* v);

// out = A * B.
void mat_mul(int n, double* out, const double* A, const double* B);

// P += Q * R^T and P -= Q * R^T. Q and R may be the same matrix.
void mat_add_mul_bt(int n, double* P, const double* Q, const double* R);
void mat_sub_mul_bt(int n, double* P, const double* Q, const double* R);

// P -= v * w^T.
void mat_sub_outer(int n, double* P, const double* v, const double* w);

// P -= Q * P * Q^T through a temporary matrix. Returns 1, or 0 with P unchanged
// when the temporary cannot be allocated.
int mat_sub_qpqt(int n, double* P, const double* Q);

// Every off-diagonal pair becomes its mean; the diagonal is unchanged.
void mat_symmetrize(int n, double* P);

// Copies the upper triangle onto the lower one: P[j][i] = P[i][j] for i < j.
void mat_mirror_upper(int n, double* P);

#pragma once

// Dense vectors of doubles: n contiguous elements. The length comes first, then
// the operand that is written. Nothing here checks its arguments; a length of 0
// or less does nothing.

// Uninitialised storage for n doubles, released with std::free; null when the
// allocator fails or n is negative or too large. n = 0 still gives a valid block
// so that null always means failure.
double* vec_alloc(int n);

void vec_zero(int n, double* v);
void vec_copy(int n, double* dst, const double* src);

// In place on v.
void vec_add(int n, double* v, const double* w);  // v = v + w
void vec_sub(int n, double* v, const double* w);  // v = v - w
void vec_rsub(int n, double* v, const double* w); // v = w - v

// Sum of v[i]*w[i]; 0 for n <= 0.
double vec_dot(int n, const double* v, const double* w);

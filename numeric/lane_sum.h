// Sums over many terms kept in four running totals: one total waits on each
// addition in turn, four keep the adder busy (and round no worse).
#pragma once

#include <cstddef>

// term(0) + term(1) + ... + term(n - 1).
template <typename Term> double laneSum(size_t n, Term term) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        s0 += term(i);
        s1 += term(i + 1);
        s2 += term(i + 2);
        s3 += term(i + 3);
    }
    for (; i < n; ++i)
        s0 += term(i);
    return (s0 + s1) + (s2 + s3);
}

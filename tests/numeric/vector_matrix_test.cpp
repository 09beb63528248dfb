#include "numeric/numeric.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using Values = std::vector<double>;

void expectValues(const Values& expected, const double* actual) {
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_DOUBLE_EQ(expected[i], actual[i]) << "index " << i;
}

TEST(VectorOps, InPlaceOnTheFirstOperand) {
    Values v{1, 2}, w{10, 20};
    vec_rsub(2, v.data(), w.data()); // w - v, not v - w
    expectValues({9, 18}, v.data());
    vec_add(2, v.data(), w.data());
    expectValues({19, 38}, v.data());
    vec_sub(2, v.data(), w.data());
    expectValues({9, 18}, v.data());
    EXPECT_DOUBLE_EQ(9 * 10 + 18 * 20, vec_dot(2, v.data(), w.data()));
    EXPECT_DOUBLE_EQ(0.0, vec_dot(0, v.data(), w.data()));
}

TEST(Allocation, ZeroSizeIsNotFailureAndNegativeIs) {
    double* v = vec_alloc(0);
    double* M = mat_alloc(0);
    EXPECT_NE(nullptr, v);
    EXPECT_NE(nullptr, M);
    std::free(v);
    std::free(M);
    EXPECT_EQ(nullptr, vec_alloc(-1));
    EXPECT_EQ(nullptr, mat_alloc(-1));
    // n*n*8 bytes exceed any address space: refused instead of wrapping around.
    EXPECT_EQ(nullptr, mat_alloc(2000000000));
}

// Products of A = ((1,2),(3,4)) and B = ((5,6),(7,8)), worked out by hand.
TEST(MatrixProducts, AgreeWithHandCalculation) {
    Values A{1, 2, 3, 4}, B{5, 6, 7, 8}, out(4);
    mat_mul(2, out.data(), A.data(), B.data());
    expectValues({19, 22, 43, 50}, out.data());

    Values ones{1, 1};
    mat_mul_vec(2, out.data(), A.data(), ones.data());
    expectValues({3, 7}, out.data());

    Values P{1, 1, 1, 1};
    mat_add_mul_bt(2, P.data(), A.data(), B.data()); // A*B^T = ((17,23),(39,53))
    expectValues({18, 24, 40, 54}, P.data());
    mat_sub_mul_bt(2, P.data(), A.data(), B.data());
    expectValues({1, 1, 1, 1}, P.data());

    Values v{1, 2}, w{3, 4};
    mat_sub_outer(2, P.data(), v.data(), w.data()); // 1 - ((3,4),(6,8))
    expectValues({-2, -3, -5, -7}, P.data());
}

TEST(MatrixProducts, ScaleWorksInPlace) {
    Values M{1, -2, 3, 0.5};
    mat_scale(2, M.data(), -2.0, M.data());
    expectValues({-2, 4, -6, -1}, M.data());
}

TEST(MatrixProducts, SubQpqtUsesTheTransposeOnTheRight) {
    // Q = ((1,1),(0,1)) is not symmetric, so a transpose on the wrong side shows.
    // Q*P = ((4,6),(3,4)); (Q*P)*Q^T = ((10,6),(7,4)).
    Values P{1, 2, 3, 4}, Q{1, 1, 0, 1};
    EXPECT_EQ(1, mat_sub_qpqt(2, P.data(), Q.data()));
    expectValues({-9, -4, -4, 0}, P.data());
}

TEST(MatrixShape, SymmetrizeAndMirrorLeaveTheDiagonal) {
    Values P{1, 2, 3, 4, 5, 6, 7, 8, 9};
    Values S = P;
    mat_symmetrize(3, S.data());
    expectValues({1, 3, 5, 3, 5, 7, 5, 7, 9}, S.data());
    mat_mirror_upper(3, P.data());
    expectValues({1, 2, 3, 2, 5, 6, 3, 6, 9}, P.data());
}

TEST(Polynomial, ProductMatchesHandMultiplication) {
    Values out(4, 99.0); // stale contents must be cleared
    Values a{1, 1}, b{1, -1};
    poly_mul(out.data(), 2, a.data(), 2, b.data()); // (1+z)(1-z) = 1 - z^2
    expectValues({1, 0, -1, 99}, out.data());

    Values c{1, 2, 3}, d{4, 5};
    poly_mul(out.data(), 3, c.data(), 2, d.data()); // (1+2z+3z^2)(4+5z)
    expectValues({4, 13, 22, 15}, out.data());

    Values e{3}, f{-4};
    poly_mul(out.data(), 1, e.data(), 1, f.data());
    EXPECT_DOUBLE_EQ(-12.0, out[0]);
}

} // namespace

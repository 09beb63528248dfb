#include "numeric/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using Values = std::vector<double>;

Values times(int n, const Values& A, const Values& x) {
    Values b(n, 0.0);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k)
            b[i] += A[i * n + k] * x[k];
    return b;
}

double maxDifference(const Values& a, const Values& b) {
    double worst = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
        worst = std::fmax(worst, std::fabs(a[i] - b[i]));
    return worst;
}

TEST(Solve, IdentityAndExchange) {
    Values I{1, 0, 0, 0, 1, 0, 0, 0, 1}, b{1, 2, 3};
    EXPECT_DOUBLE_EQ(1.0, mat_solve(3, I.data(), b.data()));
    EXPECT_EQ((Values{1, 2, 3}), b);

    // The determinant is -1, but exchanges do not flip the sign of the pivot product.
    Values A{0, 1, 1, 0}, c{2, 3};
    EXPECT_DOUBLE_EQ(1.0, mat_solve(2, A.data(), c.data()));
    EXPECT_EQ((Values{3, 2}), c);
}

TEST(Solve, RandomSystemHasSmallResidualAndPivotProductIsDeterminant) {
    // A = L*U with unit lower L, so |det A| = product of U's diagonal.
    const int n = 12;
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Values L(n * n, 0.0), U(n * n, 0.0), A(n * n, 0.0), x(n);
    double det = 1.0;
    for (int i = 0; i < n; ++i) {
        L[i * n + i] = 1.0;
        for (int j = 0; j < i; ++j)
            L[i * n + j] = 0.5 * u(gen);
        U[i * n + i] = 1.0 + std::fabs(u(gen));
        for (int j = i + 1; j < n; ++j)
            U[i * n + j] = u(gen);
        det *= U[i * n + i];
        x[i] = u(gen);
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k)
                A[i * n + j] += L[i * n + k] * U[k * n + j];
    Values b = times(n, A, x), work = A, solution = b;

    double D = mat_solve(n, work.data(), solution.data());
    EXPECT_NEAR(1.0, std::fabs(D) / det, 1e-12);
    EXPECT_LT(maxDifference(times(n, A, solution), b), 1e-12);
    EXPECT_LT(maxDifference(solution, x), 1e-12);
}

TEST(Solve, CompletePivotingKeepsGrowthDown) {
    // 1 on the diagonal, -1 below it, 1 in the last column. Elimination with row
    // exchanges only doubles the last column at every step (det = 2^(n-1)), which
    // at n = 60 leaves nothing of the solution; complete pivoting stays exact.
    const int n = 60;
    Values A(n * n, 0.0), x(n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < i; ++j)
            A[i * n + j] = -1.0;
        A[i * n + i] = 1.0;
        A[i * n + n - 1] = 1.0;
        x[i] = std::sin(i + 1.0);
    }
    Values b = times(n, A, x), work = A;
    double D = mat_solve(n, work.data(), b.data());
    EXPECT_NEAR(1.0, std::fabs(D) / std::ldexp(1.0, n - 1), 1e-12);
    EXPECT_LT(maxDifference(b, x), 1e-12);
}

TEST(Solve, PivotChoiceShowsInTheSignOfTheProduct) {
    // ((1,2),(3,4)): the largest element 4 takes a row and a column exchange,
    // pivots 4 and -1/2, product -2. Choosing 3 (row exchange only) gives 3 * 2/3.
    Values A{1, 2, 3, 4}, b{5, 6}; // x = (-4, 4.5)
    EXPECT_DOUBLE_EQ(-2.0, mat_solve(2, A.data(), b.data()));
    EXPECT_NEAR(-4.0, b[0], 1e-14);
    EXPECT_NEAR(4.5, b[1], 1e-14);

    // ((1,3),(2,3)): the tie goes to the first 3 in row order, a column exchange:
    // pivots 3 and 1. The later 3 would have given 3 and -1.
    Values C{1, 3, 2, 3}, c{4, 5}; // x = (1, 1)
    EXPECT_DOUBLE_EQ(3.0, mat_solve(2, C.data(), c.data()));
    EXPECT_NEAR(1.0, c[0], 1e-14);
    EXPECT_NEAR(1.0, c[1], 1e-14);
}

TEST(Solve, SingularSystemsReportZero) {
    Values tiny(9, 1e-18), b{1, 1, 1};
    EXPECT_EQ(0.0, mat_solve(3, tiny.data(), b.data()));

    // Row 2 = 2 * row 1 with powers of two, so elimination leaves an exact 0. (The
    // threshold is absolute: a rank deficiency hidden under rounding noise of
    // 1e-15 passes as a solvable system.)
    Values rank2{1, 2, 4, 2, 4, 8, 3, 1, 5}, c{1, 2, 3};
    EXPECT_EQ(0.0, mat_solve(3, rank2.data(), c.data()));

    Values lastPivot{1, 2, 2, 4}, d{1, 2};
    EXPECT_EQ(0.0, mat_solve(2, lastPivot.data(), d.data()));

    Values zero{0.0}, e{1.0};
    EXPECT_EQ(0.0, mat_solve(1, zero.data(), e.data()));
}

TEST(Solve, SingleEquationDividesByItsPivot) {
    Values A{-4.0}, b{2.0};
    EXPECT_DOUBLE_EQ(-4.0, mat_solve(1, A.data(), b.data()));
    EXPECT_DOUBLE_EQ(-0.5, b[0]);
}

TEST(Solve, RefusesOrdersItCannotRecord) {
    const int n = SOLVE_MAX_ORDER + 1;
    Values A(n * n, 0.0), b(n, 1.0);
    for (int i = 0; i < n; ++i)
        A[i * n + i] = 2.0;
    Values before = A;
    EXPECT_EQ(0.0, mat_solve(n, A.data(), b.data()));
    EXPECT_EQ(before, A);
    EXPECT_EQ(Values(n, 1.0), b);
    EXPECT_EQ(0.0, mat_solve(0, A.data(), b.data()));
}

TEST(Solve, NonFiniteInputIsAFailure) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Values A{1, nan, 0, 1}, b{1, 1};
    EXPECT_EQ(0.0, mat_solve(2, A.data(), b.data()));
    Values B{2, 0, 0, 2}, c{std::numeric_limits<double>::infinity(), 1};
    EXPECT_EQ(0.0, mat_solve(2, B.data(), c.data()));
}

TEST(Solve, UnderflowingProductStillReportsSuccess) {
    // Forty pivots of 1e-10 each pass the threshold; their product 1e-400 does not
    // fit in a double but the system is perfectly solvable.
    const int n = 40;
    Values A(n * n, 0.0), b(n, 1e-10);
    for (int i = 0; i < n; ++i)
        A[i * n + i] = 1e-10;
    EXPECT_GT(mat_solve(n, A.data(), b.data()), 0.0);
    for (double x : b)
        EXPECT_DOUBLE_EQ(1.0, x);
}

TEST(Cholesky, KnownFactors) {
    Values A{4, 99, 2, 5}; // the upper element is not read, and cleared
    EXPECT_EQ(1, mat_cholesky(2, A.data()));
    EXPECT_EQ((Values{2, 0, 1, 2}), A);

    // L = ((2,0,0),(1,3,0),(-1,2,1)) multiplied out by hand as L*L^T.
    Values B{4, 2, -2, 2, 10, 5, -2, 5, 6};
    EXPECT_EQ(1, mat_cholesky(3, B.data()));
    Values L{2, 0, 0, 1, 3, 0, -1, 2, 1};
    EXPECT_LT(maxDifference(B, L), 1e-14);
}

TEST(Cholesky, NotPositiveDefiniteStaysFiniteAndIsReported) {
    // Semi-definite ((1,1),(1,1)) = (1,1)^T (1,1): the factor ((1,0),(1,0)) is exact.
    Values A{1, 1, 1, 1};
    EXPECT_EQ(0, mat_cholesky(2, A.data()));
    EXPECT_EQ((Values{1, 0, 1, 0}), A);

    Values B{1, 2, 2, 1}; // eigenvalues 3 and -1
    EXPECT_EQ(0, mat_cholesky(2, B.data()));
    for (double x : B)
        EXPECT_TRUE(std::isfinite(x));
}

} // namespace

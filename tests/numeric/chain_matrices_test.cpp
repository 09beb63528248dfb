#include "numeric/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct FreeMatrix {
    void operator()(double* M) const { std::free(M); }
};
using Matrix = std::unique_ptr<double[], FreeMatrix>;

// Binomial coefficient by the multiplicative formula, exact for small arguments.
double choose(int n, int k) {
    double c = 1.0;
    for (int i = 1; i <= k; ++i)
        c = c * (n - k + i) / i;
    return c;
}

void expectRows(const std::vector<double>& expected, const double* M) {
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_DOUBLE_EQ(expected[i], M[i]) << "index " << i;
}

TEST(ChainMatrices, BinomialDiffSmallCase) {
    Matrix M(mat_binomial_diff(3, 2.0)); // rows: 1, 2(1 - z), 4(1 - z)^2, right-aligned
    ASSERT_TRUE(M);
    expectRows({0, 0, 1, 0, 2, -2, 4, -8, 4}, M.get());
}

TEST(ChainMatrices, BinomialDiffClosedForm) {
    const int n = 7;
    const double x = 0.75;
    Matrix M(mat_binomial_diff(n, x));
    ASSERT_TRUE(M);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            int k = j - (n - 1 - i); // position within the right-aligned row
            double expected = k >= 0 ? std::pow(-1.0, k) * choose(i, k) * std::pow(x, i) : 0.0;
            EXPECT_NEAR(expected, M[i * n + j], 1e-12) << i << "," << j;
        }
    }
}

TEST(ChainMatrices, PoissonClosedForm) {
    const int n = 6;
    const double a = 0.3, b = 2.5, lambda = a * b;
    Matrix M(mat_poisson(n, a, b));
    ASSERT_TRUE(M);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double expected =
                i >= j ? std::exp(-lambda) * std::pow(lambda, i - j) / std::tgamma(i - j + 1.0)
                       : 0.0;
            EXPECT_NEAR(expected, M[i * n + j], 1e-15) << i << "," << j;
        }
    }
    Matrix still(mat_poisson(2, 0.0, 4.0)); // no time passes: identity
    ASSERT_TRUE(still);
    expectRows({1, 0, 0, 1}, still.get());
}

TEST(ChainMatrices, BinomialProbClosedForm) {
    Matrix small(mat_binomial_prob(2, 1.0)); // ((1, .5), (.5, .5)) scaled by 1/0.5
    ASSERT_TRUE(small);
    expectRows({2, 1, 1, 1}, small.get());

    const int n = 6;
    const double x = 3.0;
    Matrix M(mat_binomial_prob(n, x));
    ASSERT_TRUE(M);
    double corner = choose(2 * (n - 1), n - 1) / std::ldexp(1.0, 2 * (n - 1));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double expected = choose(i + j, i) / std::ldexp(1.0, i + j) * x / corner;
            EXPECT_NEAR(expected, M[i * n + j], 1e-13) << i << "," << j;
        }
    }
}

TEST(ChainMatrices, EmptyOrderGivesNoMatrix) {
    EXPECT_EQ(nullptr, mat_binomial_diff(0, 1.0));
    EXPECT_EQ(nullptr, mat_poisson(0, 1.0, 1.0));
    EXPECT_EQ(nullptr, mat_binomial_prob(-3, 1.0));
    Matrix one(mat_binomial_prob(1, 5.0));
    ASSERT_TRUE(one);
    EXPECT_DOUBLE_EQ(5.0, one[0]);
}

} // namespace

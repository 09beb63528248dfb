// The chi-square quantiles behind the spectra's confidence bands, against
// printed tables and the closed forms of two and of one degree of freedom.
#include "numeric/chi_square.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ChiSquare, IncompleteGammaMatchesItsClosedFormsOnBothSidesOfTheSplit) {
    // P(1, x) = 1 - e^-x and P(1/2, x) = erf(sqrt x); x < a + 1 takes the
    // series, x >= a + 1 the continued fraction.
    for (double x : {1e-6, 0.3, 1.0, 1.99, 2.0, 5.0, 30.0}) {
        EXPECT_NEAR(regularizedGammaP(1.0, x), -std::expm1(-x), 1e-14) << x;
        EXPECT_NEAR(regularizedGammaP(0.5, x), std::erf(std::sqrt(x)), 1e-14) << x;
    }
    EXPECT_EQ(regularizedGammaP(3.0, 0.0), 0.0);
    EXPECT_TRUE(std::isnan(regularizedGammaP(0.0, 1.0)));
    EXPECT_TRUE(std::isnan(regularizedGammaP(1.0, -1.0)));
}

TEST(ChiSquare, QuantilesMatchTheTables) {
    struct Row {
        double nu, p, x;
    };
    // Abramowitz and Stegun, table 26.8, to the digits printed.
    const Row table[] = {{1, 0.05, 0.00393214}, {1, 0.95, 3.84146},  {2, 0.05, 0.102587},
                         {2, 0.95, 5.99146},    {10, 0.05, 3.94030}, {10, 0.95, 18.3070},
                         {30, 0.05, 18.4927},   {30, 0.95, 43.7730}, {100, 0.05, 77.9295},
                         {100, 0.95, 124.342}};
    for (const Row& r : table)
        EXPECT_NEAR(chiSquareQuantile(r.p, r.nu), r.x, 1e-5 * r.x) << r.nu << " " << r.p;
}

TEST(ChiSquare, QuantilesInvertTheDistributionForAnyDegreesOfFreedom) {
    // Two degrees of freedom: the exponential of mean 2, x = -2 ln(1 - p).
    for (double p : {1e-6, 0.05, 0.5, 0.95, 0.999999})
        EXPECT_NEAR(chiSquareQuantile(p, 2), -2 * std::log1p(-p), 1e-11 * (1 - 2 * std::log1p(-p)))
            << p;
    // Non-integer and small nu, where Wilson and Hilferty's start is poor.
    for (double nu : {0.3, 1.7, 7.25, 28.5, 1234.5})
        for (double p : {0.001, 0.05, 0.5, 0.95, 0.999}) {
            const double x = chiSquareQuantile(p, nu);
            ASSERT_TRUE(x > 0) << nu << " " << p;
            EXPECT_NEAR(regularizedGammaP(nu / 2, x / 2), p, 1e-12) << nu << " " << p;
        }
    EXPECT_TRUE(std::isnan(chiSquareQuantile(0.0, 10)));
    EXPECT_TRUE(std::isnan(chiSquareQuantile(1.0, 10)));
    EXPECT_TRUE(std::isnan(chiSquareQuantile(0.5, 0)));
}

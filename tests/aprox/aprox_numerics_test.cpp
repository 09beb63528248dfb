#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "aprox/aprox_model.h"
#include "aprox/aprox_newton.h"
#include "aprox/normal_equations.h"
#include "aprox_test_support.h"

TEST(AproxCarriers, RecurrenceStaysOnTheDirectValuesOverAMillionSamples) {
    // Each carrier advances by one complex multiplication per sample; compare
    // with e^(-delta n)(cos theta n, sin theta n) in long double at selected n.
    const int32_t N = 1000000;
    FitData f(N, 1000.0, [](int32_t) { return 0.0; });
    // Dampings keep the envelope within e^-1 over the 1000 s.
    f.start({{1.0, 0.0, 1.0, 0.0}, {123.456, 5e-4, -2.0, 3.0}, {0.0123, 1e-3, 0.7, -0.1}}, 0.0,
            true, true);
    const AproxModel m = modelFromParams(*f.params);
    outputPass(*f.params, m);
    EXPECT_EQ(f.params->done.load(), N);

    double worst = 0.0;
    for (int32_t n = 0; n < N; n += 9973) {
        for (int32_t k = 0; k < 3; ++k) {
            long double e = std::exp(-(long double)m.delta[k] * n);
            long double R = e * std::cos((long double)m.theta[k] * n);
            long double I = e * std::sin((long double)m.theta[k] * n);
            long double value = m.a[k] * R + m.d[k] * I;
            long double quadrature = m.d[k] * R - m.a[k] * I;
            // Relative to the envelope; float storage alone contributes 6e-8.
            long double envelope = std::hypot(m.a[k], m.d[k]) * e;
            worst = std::fmax(worst, double(std::fabs(f.row(n, k).re - value) / envelope));
            worst = std::fmax(worst, double(std::fabs(f.row(n, k).im - quadrature) / envelope));
        }
    }
    EXPECT_LT(worst, 2e-7);
}

TEST(NormalEquations, GroupedSumsEqualRowByRowSumsExactly) {
    // Grouping rows must not change the order of any addition, so the sums
    // are bit-identical to the plain loop, whatever the count left over.
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-1e3, 1e3);
    for (int order : {1, 2, 9, APROX_MAX_UNKNOWNS}) {
        for (int rows : {1, 3, 4, 13}) {
            NormalEquations eq;
            eq.reset(order);
            std::vector<double> plain(size_t(order * order), 0.0), rhs(size_t(order), 0.0);
            for (int s = 0; s < rows; ++s) {
                double* row = eq.row();
                for (int a = 0; a < order; ++a)
                    row[a] = u(gen);
                double w = u(gen);
                for (int a = 0; a < order; ++a) {
                    rhs[size_t(a)] += w * row[a];
                    for (int b = a; b < order; ++b)
                        plain[size_t(a * order + b)] += row[a] * row[b];
                }
                eq.commit(w);
            }
            eq.complete();
            for (int a = 0; a < order; ++a) {
                EXPECT_EQ(eq.rhs()[a], rhs[size_t(a)]);
                for (int b = a; b < order; ++b) {
                    EXPECT_EQ(eq.matrix()[a * order + b], plain[size_t(a * order + b)]);
                    EXPECT_EQ(eq.matrix()[b * order + a], plain[size_t(a * order + b)]);
                }
            }
        }
    }
}

TEST(NormalEquations, RankTestSeesEqualAndZeroColumnsOnly) {
    // Gram matrices of three columns over 50 samples.
    auto gram = [](const std::vector<std::vector<double>>& columns) {
        int n = int(columns.size());
        std::vector<double> G(size_t(n * n), 0.0);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                for (size_t s = 0; s < columns[0].size(); ++s)
                    G[size_t(i * n + j)] += columns[size_t(i)][s] * columns[size_t(j)][s];
        return G;
    };
    std::vector<double> c(50), s(50), one(50, 1.0), near(50), zero(50, 0.0);
    for (int n = 0; n < 50; ++n) {
        c[size_t(n)] = 1e4 * std::cos(0.3 * n); // scale must not matter
        s[size_t(n)] = 1e-4 * std::sin(0.3 * n);
        near[size_t(n)] = std::cos(0.3 * n) + 1e-3 * std::sin(1.1 * n);
    }
    EXPECT_TRUE(gramFullRank(3, gram({c, s, one}).data()));
    EXPECT_TRUE(gramFullRank(3, gram({c, near, one}).data()));
    EXPECT_FALSE(gramFullRank(3, gram({c, c, one}).data()));
    EXPECT_FALSE(gramFullRank(3, gram({c, s, zero}).data()));
    std::vector<double> sum(50);
    for (int n = 0; n < 50; ++n)
        sum[size_t(n)] = c[size_t(n)] + 3.0 * one[size_t(n)];
    EXPECT_FALSE(gramFullRank(3, gram({c, one, sum}).data()));
}

namespace {

// F(P) = sum r^2 / 2 evaluated directly from the closed form of the model in
// long double: independent of the carriers and sums under test.
struct DirectObjective {
    const FitData& data;
    int K;

    long double operator()(const std::vector<long double>& P) const {
        long double F = 0;
        for (int32_t n = 0; n < data.params->count; ++n) {
            long double m = P[size_t(4 * K)];
            for (int k = 0; k < K; ++k) {
                const long double* c = &P[size_t(4 * k)];
                long double e = std::exp(-c[3] * n);
                m += e * (c[0] * std::cos(c[2] * n) + c[1] * std::sin(c[2] * n));
            }
            long double r = m - data.y(n);
            F += r * r / 2;
        }
        return F;
    }
};

} // namespace

TEST(AproxNewton, GradientAndHessianMatchFiniteDifferencesOfTheSquaredResiduals) {
    // Away from the optimum, so that the residual-weighted second derivatives
    // matter; central differences of F give g and H to ~1e-7 relative.
    const std::vector<DampedWave> truth{{0.6, 0.3, 1.0, -0.7}, {1.9, 0.1, 0.4, 0.9}};
    const double rate = 8.0;
    FitData f(160, rate, [&](int32_t n) { return waveValue(0.25, truth, n / rate); });
    f.start({{0.62, 0.25, 0.8, -0.5}, {1.87, 0.2, 0.6, 0.7}}, 0.1, true, true);
    const AproxModel m = modelFromParams(*f.params);
    NewtonSystem system;
    accumulateNewton(*f.params, m, true, system);
    addCurvature(system, 2, true);
    const int order = system.equations.order();
    ASSERT_EQ(order, 9);

    std::vector<long double> P(9), h(9);
    for (int k = 0; k < 2; ++k) {
        P[size_t(4 * k)] = m.a[k];
        P[size_t(4 * k + 1)] = m.d[k];
        P[size_t(4 * k + 2)] = m.theta[k];
        P[size_t(4 * k + 3)] = m.delta[k];
        h[size_t(4 * k)] = h[size_t(4 * k + 1)] = 1e-3L;
        h[size_t(4 * k + 2)] = h[size_t(4 * k + 3)] = 1e-6L;
    }
    P[8] = m.level;
    h[8] = 1e-3L;
    DirectObjective F{f, 2};
    auto shifted = [&](int i, long double si, int j, long double sj) {
        std::vector<long double> Q = P;
        Q[size_t(i)] += si * h[size_t(i)];
        Q[size_t(j)] += sj * h[size_t(j)];
        return F(Q);
    };
    const double* H = system.equations.matrix();
    for (int i = 0; i < order; ++i) {
        long double g = (shifted(i, 1, i, 0) - shifted(i, -1, i, 0)) / (2 * h[size_t(i)]);
        EXPECT_NEAR(system.equations.rhs()[i], double(g), 1e-6 * std::fabs(double(g)) + 1e-9) << i;
        for (int j = i; j < order; ++j) {
            long double want = (shifted(i, 1, j, 1) - shifted(i, 1, j, -1) - shifted(i, -1, j, 1) +
                                shifted(i, -1, j, -1)) /
                               (4 * h[size_t(i)] * h[size_t(j)]);
            double scale = std::sqrt(std::fabs(H[i * order + i] * H[j * order + j]));
            EXPECT_NEAR(H[i * order + j], double(want), 1e-6 * scale) << i << "," << j;
            EXPECT_EQ(H[i * order + j], H[j * order + i]);
        }
    }
}

#include "kalman/kalman_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "kalman_test_support.h"
#include "numeric/numeric.h"

namespace {

// Params of a run, on the heap: the record holds atomics and cannot be copied.
std::unique_ptr<KalmanParams> paramsFor(int model, const std::vector<TestComponent>& components,
                                        double rate = 10.0, int direction = 1, int useDamp = 0) {
    auto params = std::make_unique<KalmanParams>();
    KalmanParams& p = *params;
    p.model = model;
    p.sample_rate = rate;
    p.direction = direction;
    p.use_damp = useDamp;
    p.observation_error = 5.0;
    p.constant_period = 5.0;
    p.component_count = int(components.size());
    for (size_t k = 0; k < components.size(); ++k) {
        p.frequency[k] = components[k].frequency;
        p.amplitude[k] = components[k].amplitude;
        p.k[k] = components[k].k;
        p.eta[k] = components[k].eta;
    }
    return params;
}

// F P0 F^T + Q for block k, by plain triple sums.
std::vector<double> propagated(const KalmanModel& model, int k) {
    const int m = model.m;
    std::vector<double> out(size_t(m * m));
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j) {
            double sum = model.Q[k][i * m + j];
            for (int a = 0; a < m; ++a)
                for (int b = 0; b < m; ++b)
                    sum += model.F[k][i * m + a] * model.P0[k][a * m + b] * model.F[k][j * m + b];
            out[size_t(i * m + j)] = sum;
        }
    return out;
}

bool positiveDefinite(int m, const double* block, double shift) {
    std::vector<double> a(block, block + m * m);
    for (int i = 0; i < m; ++i)
        a[size_t(i * m + i)] += shift;
    return mat_cholesky(m, a.data()) == 1;
}

} // namespace

TEST(KalmanModel, ComponentQuantities) {
    KalmanModel model;
    auto p = paramsFor(
        1, {{2.0, 2.0, 4.0}, {1.0, 0.0, 5.0}, {1.0, -3.0, 5.0}, {0.0, 2.0, 2.0}, {0.0, 0.0, 2.0}});
    buildKalmanModel(*p, model);
    // sigma^2 = Amp^2 / 2, or 1 for Amp <= 0; doubled at frequency 0.
    EXPECT_DOUBLE_EQ(model.terms[0].variance, 2.0);
    EXPECT_DOUBLE_EQ(model.terms[1].variance, 1.0);
    EXPECT_DOUBLE_EQ(model.terms[2].variance, 1.0);
    EXPECT_DOUBLE_EQ(model.terms[3].variance, 4.0);
    EXPECT_DOUBLE_EQ(model.terms[4].variance, 2.0);
    // lambda = f / k; at frequency 0 the time scale is constant_period * k = 10 s.
    EXPECT_DOUBLE_EQ(model.terms[0].lambda, 0.5);
    EXPECT_DOUBLE_EQ(model.terms[3].lambda, 0.1);
    EXPECT_DOUBLE_EQ(model.terms[0].x, 0.05);
    EXPECT_DOUBLE_EQ(model.terms[0].rho, std::exp(-0.05));
    // A level has no carrier: it stays (1, 0).
    EXPECT_DOUBLE_EQ(model.terms[3].c, 1.0);
    EXPECT_DOUBLE_EQ(model.terms[3].s, 0.0);
    // R = 5 % of the summed variances 2 + 1 + 1 + 4 + 2.
    EXPECT_DOUBLE_EQ(model.varianceSum, 10.0);
    EXPECT_DOUBLE_EQ(model.R, 0.5);
}

TEST(KalmanModel, CarrierStepFollowsDirectionAndDamping) {
    const double angle = 2.0 * TEST_PI * 1.0 / 10.0; // omega * dt
    struct Case {
        int direction, useDamp;
        double c, s;
    } cases[] = {
        {+1, 0, std::cos(angle), std::sin(angle)},
        {-1, 0, std::cos(angle), -std::sin(angle)},
        // exp(-d eta dt) with eta 0.5, dt 0.1: decays forward, grows backward.
        {+1, 1, std::cos(angle) * std::exp(-0.05), std::sin(angle) * std::exp(-0.05)},
        {-1, 1, std::cos(angle) * std::exp(0.05), -std::sin(angle) * std::exp(0.05)},
    };
    for (const Case& c : cases) {
        KalmanModel model;
        buildKalmanModel(*paramsFor(3, {{1.0, 1.0, 5.0, 0.5}}, 10.0, c.direction, c.useDamp),
                         model);
        EXPECT_NEAR(model.terms[0].c, c.c, 1e-15);
        EXPECT_NEAR(model.terms[0].s, c.s, 1e-15);
    }
}

TEST(KalmanModel, InitialCovarianceIsStationary) {
    // P0 must be the stationary covariance of each block: F P0 F^T + Q = P0.
    // Models 1 to 3 define Q that way; for model 0 it checks the closed form of
    // Q against the AR(2) process a_t = 2 rho a_{t-1} - rho^2 a_{t-2} + w, whose
    // lag-one correlation is 2 rho / (1 + rho^2) = 1 / cosh(x).
    for (int m = 0; m < KALMAN_MODEL_COUNT; ++m) {
        for (double k : {0.5, 5.0, 200.0}) {
            KalmanModel model;
            buildKalmanModel(*paramsFor(m, {{1.5, 2.0, k}, {0.0, 0.5, k}}, 20.0), model);
            for (int c = 0; c < model.n; ++c) {
                std::vector<double> next = propagated(model, c);
                for (int i = 0; i < model.m * model.m; ++i)
                    EXPECT_NEAR(next[size_t(i)], model.P0[c][i], 1e-12 * model.terms[c].variance)
                        << "model " << m << " k " << k << " entry " << i;
            }
        }
    }
}

TEST(KalmanModel, DiscreteNoiseMatchesItsTextbookForm) {
    // Q(0,0) = 4 sigma^2 rho^2 sinh^2(x) tanh(x), written here as printed.
    KalmanModel model;
    buildKalmanModel(*paramsFor(0, {{2.0, 3.0, 7.0}}, 25.0), model);
    const ComponentTerms& t = model.terms[0];
    const double q =
        4.0 * t.variance * t.rho * t.rho * std::pow(std::sinh(t.x), 2) * std::tanh(t.x);
    EXPECT_NEAR(model.Q[0][0], q, 1e-12 * q);
    EXPECT_NEAR(model.Q[0][2 * 4 + 2], q, 1e-12 * q);
    EXPECT_DOUBLE_EQ(model.P0[0][1], t.variance / std::cosh(t.x));
}

TEST(KalmanModel, CovariancesAreValid) {
    // P0 positive definite and Q positive semi-definite in every model, also
    // with damped carriers run with and against their decay.
    for (int m = 0; m < KALMAN_MODEL_COUNT; ++m)
        for (int direction : {1, -1}) {
            KalmanModel model;
            buildKalmanModel(
                *paramsFor(m, {{1.0, 1.0, 5.0, 0.2}, {2.0, 1.0, 50.0, -0.3}, {0.0, 1.0, 3.0}}, 50.0,
                           direction, 1),
                model);
            for (int c = 0; c < model.n; ++c) {
                EXPECT_TRUE(positiveDefinite(model.m, model.P0[c], 0.0)) << "model " << m;
                double scale = 1e-12 * model.terms[c].variance;
                EXPECT_TRUE(positiveDefinite(model.m, model.Q[c], scale)) << "model " << m;
            }
        }
}

TEST(KalmanModel, GrowingQuickCarrierKeepsTheChainNoise) {
    // Run against its decay the damped carrier of model 3 grows, and no noise
    // keeps P0 stationary; the block then takes the noise of the undamped
    // chain, which the model without damping has as well.
    for (int direction : {1, -1}) {
        KalmanModel damped, plain;
        const double eta = direction > 0 ? -0.3 : 0.3;
        buildKalmanModel(*paramsFor(3, {{2.0, 1.0, 50.0, eta}}, 50.0, direction, 1), damped);
        buildKalmanModel(*paramsFor(3, {{2.0, 1.0, 50.0, eta}}, 50.0, direction, 0), plain);
        for (int i = 0; i < 36; ++i)
            EXPECT_NEAR(damped.Q[0][i], plain.Q[0][i], 1e-15);
    }
}

TEST(KalmanModel, QuickModelRotatesLikeTheCarrier) {
    // The state pair (A cos th, -A sin th) is one step later rho * (A cos(th + w dt),
    // -A sin(th + w dt)): the same convention as the rotating observation of the
    // other models, whose quadrature of A cos is -A sin.
    KalmanModel model;
    buildKalmanModel(*paramsFor(3, {{1.3, 1.0, 5.0}}, 20.0), model);
    const double A = 0.7, th = 0.4, step = 2.0 * TEST_PI * 1.3 / 20.0;
    double x[6] = {A * std::cos(th), -A * std::sin(th), 0, 0, 0, 0};
    const double* F = model.F[0];
    const double s0 = F[0] * x[0] + F[1] * x[1];
    const double q0 = F[6] * x[0] + F[7] * x[1];
    EXPECT_NEAR(s0, model.terms[0].rho * A * std::cos(th + step), 1e-15);
    EXPECT_NEAR(q0, -model.terms[0].rho * A * std::sin(th + step), 1e-15);
}

TEST(KalmanModel, RefusesInputsWithoutFiniteResults) {
    EXPECT_EQ(kalmanInputProblem(*paramsFor(2, {{1.0, 1.0, 5.0}, {0.0, 1.0, 5.0}})), nullptr);
    auto refused = [&](auto change) {
        auto p = paramsFor(2, {{1.0, 1.0, 5.0}, {0.0, 1.0, 5.0}});
        change(*p);
        return kalmanInputProblem(*p) != nullptr;
    };
    EXPECT_TRUE(refused([](KalmanParams& p) { p.component_count = 11; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.component_count = -1; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.model = 4; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.sample_rate = 0.0; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.observation_error = -1.0; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.k[0] = 0.0; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.frequency[0] = -1.0; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.amplitude[1] = NAN; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.constant_period = 0.0; })); // a level is listed
    // Zero observation error, amplitude 0 and any eta are fine.
    EXPECT_FALSE(refused([](KalmanParams& p) {
        p.observation_error = 0.0;
        p.amplitude[0] = 0.0;
        p.eta[0] = -0.3;
    }));
    // Without a level the constant period is not used.
    EXPECT_FALSE(refused([](KalmanParams& p) {
        p.component_count = 1;
        p.constant_period = 0.0;
    }));
}

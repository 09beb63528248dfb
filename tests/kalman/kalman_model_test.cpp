#include "kalman/kalman_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "kalman_test_support.h"
#include "numeric/numeric.h"

namespace {

// On the heap: the record holds atomics and cannot be copied.
std::unique_ptr<KalmanParams> paramsFor(int model, const std::vector<TestComponent>& components,
                                        double rate = 10.0, int direction = 1, int useDamp = 0) {
    auto run = makeRun({}, rate, components, optionsFor(model, 5.0, useDamp), 0, 0, direction);
    return std::move(run->params);
}

KalmanModel modelFor(const KalmanParams& p) {
    KalmanModel model;
    buildKalmanModel(p, model);
    return model;
}

} // namespace

TEST(KalmanModel, ComponentQuantities) {
    KalmanModel model = modelFor(*paramsFor(
        1, {{2.0, 2.0, 4.0}, {1.0, 0.0, 5.0}, {1.0, -3.0, 5.0}, {0.0, 2.0, 2.0}, {0.0, 0.0, 2.0}}));
    // sigma^2 = Amp^2 / 2, or 1 for Amp <= 0; doubled at frequency 0.
    const double variances[] = {2.0, 1.0, 1.0, 4.0, 2.0};
    for (int k = 0; k < 5; ++k)
        EXPECT_DOUBLE_EQ(model.terms[k].variance, variances[k]);
    // lambda = f / k; a level's time scale is constant_period * k = 10 s.
    EXPECT_DOUBLE_EQ(model.terms[0].lambda, 0.5);
    EXPECT_DOUBLE_EQ(model.terms[3].lambda, 0.1);
    EXPECT_DOUBLE_EQ(model.terms[0].rho, std::exp(-0.05)); // x = lambda dt
    EXPECT_DOUBLE_EQ(model.terms[3].c, 1.0);               // a level has no carrier
    EXPECT_DOUBLE_EQ(model.terms[3].s, 0.0);
    // R = 5 % of the summed variances 2 + 1 + 1 + 4 + 2.
    EXPECT_DOUBLE_EQ(model.R, 0.5);

    // Carrier step w dt = 2 pi / 10: sine negated backward; damping
    // exp(-d eta dt) with eta 0.5, dt 0.1 decays forward and grows backward.
    const double a = 2.0 * TEST_PI / 10.0;
    for (int d : {1, -1}) {
        KalmanModel damped = modelFor(*paramsFor(3, {{1.0, 1.0, 5.0, 0.5}}, 10.0, d, 1));
        EXPECT_NEAR(damped.terms[0].c, std::cos(a) * std::exp(-d * 0.05), 1e-15);
        EXPECT_NEAR(damped.terms[0].s, d * std::sin(a) * std::exp(-d * 0.05), 1e-15);
    }
}

TEST(KalmanModel, InitialCovarianceIsStationary) {
    // F P0 F^T + Q = P0 in every block. Models 1 to 3 define Q that way; for
    // model 0 it checks its closed-form Q against the AR(2) process
    // a_t = 2 rho a_{t-1} - rho^2 a_{t-2} + w, whose lag-one correlation is
    // 2 rho / (1 + rho^2) = 1 / cosh(x).
    for (int m = 0; m < KALMAN_MODEL_COUNT; ++m)
        for (double k : {0.5, 5.0, 200.0}) {
            KalmanModel model = modelFor(*paramsFor(m, {{1.5, 2.0, k}, {0.0, 0.5, k}}, 20.0));
            const int b = model.m;
            for (int c = 0; c < model.n; ++c)
                for (int i = 0; i < b; ++i)
                    for (int j = 0; j < b; ++j) {
                        double sum = model.Q[c][i * b + j];
                        for (int u = 0; u < b; ++u)
                            for (int v = 0; v < b; ++v)
                                sum += model.F[c][i * b + u] * model.P0[c][u * b + v] *
                                       model.F[c][j * b + v];
                        EXPECT_NEAR(sum, model.P0[c][i * b + j], 1e-12 * model.terms[c].variance)
                            << "model " << m << " k " << k;
                    }
        }
    // Model 0's Q as printed in the textbooks: 4 sigma^2 rho^2 sinh^2(x) tanh(x).
    KalmanModel d = modelFor(*paramsFor(0, {{2.0, 3.0, 7.0}}, 25.0));
    const ComponentTerms& t = d.terms[0];
    const double q =
        4.0 * t.variance * t.rho * t.rho * std::pow(std::sinh(t.x), 2) * std::tanh(t.x);
    EXPECT_NEAR(d.Q[0][0], q, 1e-12 * q);
}

TEST(KalmanModel, NoiseIsPositiveAlsoWithADampedCarrier) {
    // Q positive semi-definite in every model and both directions with damped
    // carriers. Run against its decay model 3's carrier grows, P0 - F P0 F^T
    // is indefinite there, and the block takes the undamped chain's noise.
    for (int m = 0; m < KALMAN_MODEL_COUNT; ++m)
        for (int d : {1, -1}) {
            auto p = paramsFor(m, {{1.0, 1.0, 5.0, 0.2}, {2.0, 1.0, 50.0, -0.3}}, 50.0, d, 1);
            KalmanModel model = modelFor(*p);
            for (int c = 0; c < model.n; ++c) {
                std::vector<double> q(model.Q[c], model.Q[c] + model.m * model.m);
                for (int i = 0; i < model.m; ++i)
                    q[size_t(i * model.m + i)] += 1e-12;
                EXPECT_EQ(mat_cholesky(model.m, q.data()), 1) << "model " << m << " dir " << d;
            }
            if (m != 3) continue;
            p->use_damp = 0;
            KalmanModel plain = modelFor(*p);
            const int growing = d > 0 ? 1 : 0; // eta -0.3 forward, 0.2 backward
            for (int i = 0; i < 36; ++i)
                EXPECT_NEAR(model.Q[growing][i], plain.Q[growing][i], 1e-15);
        }
}

TEST(KalmanModel, RefusesInputsWithoutFiniteResults) {
    auto refused = [](auto change) {
        auto p = paramsFor(2, {{1.0, 1.0, 5.0}, {0.0, 1.0, 5.0}});
        change(*p);
        return kalmanInputProblem(*p) != nullptr;
    };
    EXPECT_FALSE(refused([](KalmanParams&) {}));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.component_count = 11; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.model = 4; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.sample_rate = 0.0; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.observation_error = -1.0; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.k[0] = 0.0; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.frequency[0] = -1.0; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.amplitude[1] = NAN; }));
    EXPECT_TRUE(refused([](KalmanParams& p) { p.constant_period = 0.0; })); // a level is listed
    EXPECT_FALSE(refused(
        [](KalmanParams& p) { p.observation_error = 0.0, p.amplitude[0] = 0.0, p.eta[0] = -0.3; }));
}

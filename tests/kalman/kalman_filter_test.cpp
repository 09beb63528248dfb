#include "kalman/kalman_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kalman/kalman_dense_filter.h"
#include "kalman_test_support.h"

namespace {

constexpr double RATE = 20.0;

// Three waves and a little noise.
const std::vector<Sinusoid> WAVES = {{1.0, 0.5, 0.3}, {0.6, 1.3, -1.1}, {0.3, 2.1, 2.0}};
const std::vector<TestComponent> WAVE_COMPONENTS = {
    {0.5, 1.0, 10.0}, {1.3, 0.6, 10.0}, {2.1, 0.3, 10.0}};

} // namespace

TEST(KalmanFilter, BlockFilterMatchesTheDenseSteps) {
    // The dense filter runs the plain N x N steps with the numeric library's
    // products; the block filter must agree to rounding in every model, both
    // directions, with damping off and on (one carrier decaying, one growing).
    std::vector<double> z = sinusoids({{1.0, 0.5}, {0.6, 1.3, 1.0}, {0.8, 0.0}}, 900, RATE, 0.05);
    const std::vector<TestComponent> components = {
        {0.5, 1.0, 4.0, 0.05}, {1.3, 0.6, 6.0, -0.02}, {0.0, 0.8, 2.0}};
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model)
        for (int direction : {1, -1})
            for (int damp : {0, 1}) {
                SCOPED_TRACE(testing::Message() << "model " << model << " direction " << direction
                                                << " damp " << damp);
                KalmanOptions o = optionsFor(model, 2.0, damp);
                auto fast = makeRun(z, RATE, components, o, 50, 800, direction);
                auto dense = makeRun(z, RATE, components, o, 50, 800, direction);
                KalmanWorker(*fast->params);
                KalmanDenseWorker(*dense->params);
                ASSERT_EQ(fast->params->done.load(), 800);
                for (size_t i = 0; i < fast->result.size(); ++i) {
                    ASSERT_NEAR(fast->result[i].re, dense->result[i].re, 2e-6) << "value " << i;
                    ASSERT_NEAR(fast->result[i].im, dense->result[i].im, 2e-6) << "value " << i;
                }
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(fast->params->amplitude[k], dense->params->amplitude[k], 1e-9);
                EXPECT_NEAR(fast->params->observation_error, dense->params->observation_error,
                            1e-9);
            }
}

TEST(KalmanFilter, SplitsKnownWavesAndEstimatesTheObservationError) {
    // Three sinusoids of known amplitude plus noise of deviation 0.02: every
    // model recovers the amplitudes within 3 % and leaves a rest close to the
    // noise (less the little the components' narrow bands take of it). The
    // new observation error is 100 mean(rest^2) / sum(sigma^2), from the run's
    // own rest column, with sum(sigma^2) = (1 + 0.36 + 0.09) / 2 = 0.725; it
    // is finite also when the error was 0 before the run (the filter then
    // takes all of the noise into the components).
    const double noise = 0.02;
    std::vector<double> z = sinusoids(WAVES, 8000, RATE, noise);
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model)
        for (double before : {0.5, 0.0}) {
            SCOPED_TRACE(testing::Message() << "model " << model << " error " << before);
            auto run = makeRun(z, RATE, WAVE_COMPONENTS, optionsFor(model, before));
            KalmanWorker(*run->params);
            const double all = restRms(*run, 0, 8000);
            const double expected = 100.0 * all * all / 0.725;
            EXPECT_NEAR(run->params->observation_error, expected, 1e-5 * expected + 1e-12);
            if (before == 0.0) continue;
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(run->params->amplitude[k], WAVES[size_t(k)].amplitude,
                            0.03 * WAVES[size_t(k)].amplitude);
            const double rms = restRms(*run, 1000, 8000);
            EXPECT_GT(rms, 0.7 * noise);
            EXPECT_LT(rms, 1.1 * noise);
        }
}

TEST(KalmanFilter, RowsAndTimeConventionsHoldInBothDirections) {
    // For A cos(w t): signal A cos(w t), quadrature -A sin(w t), derivatives
    // -A w sin(w t) and -A w cos(w t), also when the run goes backward. Each
    // row's signal plus rest gives back the source sample of that row.
    const double A = 1.2, f = 0.9, w = 2.0 * TEST_PI * f;
    std::vector<double> z = sinusoids({{A, f}}, 3000, RATE, 0.0);
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model)
        for (int dir : {1, -1}) {
            SCOPED_TRACE(testing::Message() << "model " << model << " direction " << dir);
            auto run = makeRun(z, RATE, {{f, A, 10.0}}, optionsFor(model, 0.5), 100, 2800, dir);
            KalmanWorker(*run->params);
            for (int i = 0; i < 2800; ++i)
                ASSERT_NEAR(run->signal(0, i) + run->rest(i), z[size_t(100 + i)], 1e-5) << i;
            // The rows the filter reaches last, once settled.
            const int from = dir > 0 ? 1800 : 0;
            for (int i = from; i < from + 1000; i += 13) {
                const double t = (100 + i) / RATE;
                EXPECT_NEAR(run->out(0, i).re, A * std::cos(w * t), 0.01 * A);
                EXPECT_NEAR(run->out(0, i).im, -A * std::sin(w * t), 0.03 * A);
                EXPECT_NEAR(run->out(1, i).re, -A * w * std::sin(w * t), 0.05 * A * w);
                EXPECT_NEAR(run->out(1, i).im, -A * w * std::cos(w * t), 0.05 * A * w);
            }
        }
}

TEST(KalmanFilter, LevelComponentTracksASlowLevel) {
    // A level 2 + 0.5 sin(2 pi t / 100 s) under a 1 Hz wave: the frequency-0
    // component (time scale constant_period * k = 5 s) follows it within a
    // tenth of its swing (it lags the slope a little), its quadrature exactly 0.
    const double rate = 10.0;
    auto level = [&](int j) { return 2.0 + 0.5 * std::sin(2.0 * TEST_PI * j / rate / 100.0); };
    std::vector<double> z = sinusoids({{0.8, 1.0}}, 4000, rate, 0.01);
    for (int j = 0; j < 4000; ++j)
        z[size_t(j)] += level(j);
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model) {
        auto run = makeRun(z, rate, {{0.0, 2.0, 1.0}, {1.0, 0.8, 10.0}}, optionsFor(model, 0.5));
        KalmanWorker(*run->params);
        for (int j = 500; j < 4000; j += 11) {
            EXPECT_NEAR(run->signal(0, j), level(j), 0.05) << model << " " << j;
            EXPECT_EQ(run->out(0, j).im, 0.0f) << model;
        }
    }
}

TEST(KalmanFilter, DampedCarrierFitsADecayingWave) {
    // exp(-eta t) cos(w t) with slowly drifting amplitudes (k = 400): the
    // damped carrier carries the decay (backward it grows towards the start,
    // as the wave does), the undamped one cannot follow it. With damping off,
    // eta has no effect at all.
    const double eta = 0.05, f = 1.0;
    std::vector<double> z = sinusoids({{1.0, f}}, 4000, RATE, 0.0);
    for (int j = 0; j < 4000; ++j)
        z[size_t(j)] *= std::exp(-eta * j / RATE);
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model)
        for (int dir : {1, -1}) {
            SCOPED_TRACE(testing::Message() << "model " << model << " direction " << dir);
            auto run = [&](double componentEta, int damp) {
                auto r = makeRun(z, RATE, {{f, 1.0, 400.0, componentEta}},
                                 optionsFor(model, 1.0, damp), 0, 4000, dir);
                KalmanWorker(*r->params);
                return r;
            };
            auto damped = run(eta, 1), plain = run(eta, 0), plainNoEta = run(0.0, 0);
            const int from = dir > 0 ? 200 : 0, to = dir > 0 ? 4000 : 3800; // settled rows
            EXPECT_LT(restRms(*damped, from, to), 0.25 * restRms(*plain, from, to));
            for (size_t i = 0; i < plain->result.size(); ++i)
                ASSERT_EQ(plain->result[i].re, plainNoEta->result[i].re);
        }
}

TEST(KalmanFilter, QuickModelFreezesItsGainByTheThreshold) {
    // Threshold 0: the change is never strictly below it. A huge threshold
    // freezes the gain after the first sample.
    auto run = makeRun({}, RATE, {{0.5, 1.0, 5.0}, {1.3, 0.5, 5.0}}, optionsFor(3), 0, 0);
    KalmanModel model;
    buildKalmanModel(*run->params, model);
    ComponentOutput out[MAX_COMPONENTS];
    KalmanBlockFilter never(model, 0.0), first(model, 1e30);
    KalmanDenseFilter neverDense(model, 0.0), firstDense(model, 1e30);
    first.step(0.1, out), firstDense.step(0.1, out);
    EXPECT_FALSE(first.converging());
    EXPECT_FALSE(firstDense.converging());
    for (int j = 0; j < 3000; ++j)
        never.step(0.1, out), neverDense.step(0.1, out);
    EXPECT_TRUE(never.converging());
    EXPECT_TRUE(neverDense.converging());
}

TEST(KalmanFilter, NothingProcessedKeepsTheEstimates) {
    // An immediate cancel, an empty range and a refused input (k = 0): no
    // sample, no division by zero, amplitudes and observation error as they
    // were; the cancelled run posts no completion message.
    std::vector<double> z = sinusoids(WAVES, 100, RATE, 0.0);
    for (int c = 0; c < 3; ++c) {
        std::vector<TestComponent> list = WAVE_COMPONENTS;
        if (c == 2) list[1].k = 0.0;
        auto run = makeRun(z, RATE, list, optionsFor(2, 4.0), 0, c == 1 ? 0 : 100);
        RecordingSink sink;
        run->params->window = &sink;
        run->params->cancel = c == 0 ? 1 : 0;
        KalmanWorker(*run->params);
        EXPECT_EQ(run->params->done.load(), 0);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(run->params->amplitude[k], list[size_t(k)].amplitude);
        EXPECT_EQ(run->params->observation_error, 4.0);
        EXPECT_EQ(sink.doneMessages(), c == 0 ? 0 : 1);
    }
}

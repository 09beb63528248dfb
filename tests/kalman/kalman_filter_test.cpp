#include "kalman/kalman_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kalman/kalman_dense_filter.h"
#include "kalman_test_support.h"

namespace {

constexpr double RATE = 20.0;

// Three waves and a little noise, the test signal of most cases below.
const std::vector<Sinusoid> WAVES = {{1.0, 0.5, 0.3}, {0.6, 1.3, -1.1}, {0.3, 2.1, 2.0}};
const std::vector<TestComponent> WAVE_COMPONENTS = {
    {0.5, 1.0, 10.0}, {1.3, 0.6, 10.0}, {2.1, 0.3, 10.0}};

double meanRestSquare(const KalmanRunData& run) {
    double sum = 0.0;
    for (int j = 0; j < run.params->count; ++j)
        sum += run.rest(j) * run.rest(j);
    return sum / run.params->count;
}

} // namespace

TEST(KalmanFilter, BlockFilterMatchesTheDenseSteps) {
    // The dense filter follows the textbook N x N steps with the numeric
    // library's products; the block filter must give the same outputs to
    // rounding in every model, both directions, with and without damping.
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
                ASSERT_EQ(dense->params->done.load(), 800);
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

TEST(KalmanFilter, SplitsKnownWavesIntoTheirAmplitudes) {
    // Three sinusoids of known amplitude plus noise of deviation 0.02: each
    // model must recover the amplitudes within 3 % and leave a rest close to
    // the noise.
    const double noise = 0.02;
    std::vector<double> z = sinusoids(WAVES, 8000, RATE, noise);
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        auto run = makeRun(z, RATE, WAVE_COMPONENTS, optionsFor(model, 0.5));
        KalmanWorker(*run->params);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(run->params->amplitude[k], WAVES[size_t(k)].amplitude,
                        0.03 * WAVES[size_t(k)].amplitude)
                << "component " << k;
        // Past the start-up, the rest is the noise less the little the
        // components' narrow bands take of it.
        double rms = restRms(*run, 1000, 8000);
        EXPECT_GT(rms, 0.7 * noise);
        EXPECT_LT(rms, 1.1 * noise);
    }
}

TEST(KalmanFilter, ObservationErrorEstimateIsTheRestOverTheVariances) {
    // 100 * mean(rest^2) / sum(sigma^2), the rest being the run's own rest
    // column; sum(sigma^2) = (1 + 0.36 + 0.09) / 2 = 0.725. An observation
    // error of 0 before the run must give the same finite figure.
    std::vector<double> z = sinusoids(WAVES, 3000, RATE, 0.05);
    for (double before : {3.0, 0.0}) {
        auto run = makeRun(z, RATE, WAVE_COMPONENTS, optionsFor(2, before));
        KalmanWorker(*run->params);
        const double expected = 100.0 * meanRestSquare(*run) / 0.725;
        EXPECT_TRUE(std::isfinite(run->params->observation_error));
        EXPECT_NEAR(run->params->observation_error, expected, 1e-5 * expected) << before;
    }
    // Without estimation the value stays.
    KalmanOptions keep = optionsFor(2, 3.0);
    keep.estimate_error = 0;
    auto run = makeRun(z, RATE, WAVE_COMPONENTS, keep);
    KalmanWorker(*run->params);
    EXPECT_EQ(run->params->observation_error, 3.0);
}

TEST(KalmanFilter, RowsHoldTheirOwnSampleInBothDirections) {
    // Every row's component signals plus its rest give back the source sample
    // of that row (rest = z - sum of signals), so result row i must belong to
    // source row first + i whichever way the run went.
    std::vector<double> z = sinusoids(WAVES, 600, RATE, 0.05);
    for (int direction : {1, -1}) {
        auto run = makeRun(z, RATE, WAVE_COMPONENTS, optionsFor(1), 100, 400, direction);
        KalmanWorker(*run->params);
        for (int i = 0; i < 400; ++i) {
            double sum = run->rest(i);
            for (int k = 0; k < 3; ++k)
                sum += run->signal(k, i);
            ASSERT_NEAR(sum, z[size_t(100 + i)], 1e-5) << "direction " << direction << " row " << i;
        }
    }
}

TEST(KalmanFilter, BackwardRunKeepsTheTimeConventions) {
    // A cos(w t) analysed backward: once settled (the early rows, processed
    // last) the quadrature is -A sin(w t) and the derivative -A w sin(w t), as
    // in a forward run.
    const double A = 0.8, f = 0.7, w = 2.0 * TEST_PI * f;
    std::vector<double> z = sinusoids({{A, f}}, 2000, RATE, 0.0);
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model) {
        auto run = makeRun(z, RATE, {{f, A, 10.0}}, optionsFor(model, 0.5), 0, 2000, -1);
        KalmanWorker(*run->params);
        for (int i = 0; i < 500; i += 7) {
            const double t = i / RATE;
            EXPECT_NEAR(run->out(0, i).im, -A * std::sin(w * t), 0.03 * A) << model << " " << i;
            EXPECT_NEAR(run->out(1, i).re, -A * w * std::sin(w * t), 0.05 * A * w)
                << model << " " << i;
        }
    }
}

TEST(KalmanFilter, DerivativesFollowTheWave) {
    // For A cos(w t) the derivative of the signal is -A w sin(w t), the
    // quadrature -A sin(w t) and its derivative -A w cos(w t).
    const double A = 1.2, f = 0.9, w = 2.0 * TEST_PI * f;
    std::vector<double> z = sinusoids({{A, f}}, 3000, RATE, 0.0);
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model) {
        auto run = makeRun(z, RATE, {{f, A, 10.0}}, optionsFor(model, 0.5));
        KalmanWorker(*run->params);
        for (int j = 2000; j < 3000; j += 13) {
            const double t = j / RATE;
            EXPECT_NEAR(run->out(0, j).re, A * std::cos(w * t), 0.01 * A) << model;
            EXPECT_NEAR(run->out(0, j).im, -A * std::sin(w * t), 0.03 * A) << model;
            EXPECT_NEAR(run->out(1, j).re, -A * w * std::sin(w * t), 0.05 * A * w) << model;
            EXPECT_NEAR(run->out(1, j).im, -A * w * std::cos(w * t), 0.05 * A * w) << model;
        }
    }
}

TEST(KalmanFilter, LevelComponentTracksASlowLevel) {
    // A level 2 + 0.5 sin(2 pi t / 100 s) under a 1 Hz wave: the frequency-0
    // component (time scale constant_period * k = 5 s) follows the level to
    // within a tenth of its swing (it lags the slope a little) and its
    // quadrature stays exactly 0.
    const double rate = 10.0;
    std::vector<double> z = sinusoids({{0.8, 1.0}}, 4000, rate, 0.01);
    for (int j = 0; j < 4000; ++j)
        z[size_t(j)] += 2.0 + 0.5 * std::sin(2.0 * TEST_PI * j / rate / 100.0);
    for (int model = 0; model < KALMAN_MODEL_COUNT; ++model) {
        auto run = makeRun(z, rate, {{0.0, 2.0, 1.0}, {1.0, 0.8, 10.0}}, optionsFor(model, 0.5));
        KalmanWorker(*run->params);
        for (int j = 500; j < 4000; j += 11) {
            const double level = 2.0 + 0.5 * std::sin(2.0 * TEST_PI * j / rate / 100.0);
            EXPECT_NEAR(run->signal(0, j), level, 0.05) << model << " " << j;
            EXPECT_EQ(run->out(0, j).im, 0.0f) << model;
        }
    }
}

TEST(KalmanFilter, DampedCarrierFitsADecayingWave) {
    // A exp(-eta t) cos(w t) with a slowly drifting amplitude model (k = 400):
    // the damped carrier carries the decay, the undamped one cannot follow it.
    // Backward, the carrier grows towards the start as the wave does. With
    // damping off, eta has no effect at all.
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
            // Leave out the rows the filter sees first, while it settles.
            const int from = dir > 0 ? 200 : 0, to = dir > 0 ? 4000 : 3800;
            EXPECT_LT(restRms(*damped, from, to), 0.25 * restRms(*plain, from, to));
            for (size_t i = 0; i < plain->result.size(); ++i)
                ASSERT_EQ(plain->result[i].re, plainNoEta->result[i].re);
        }
}

TEST(KalmanFilter, QuickModelFreezesItsGainByTheThreshold) {
    KalmanParams p;
    p.model = 3;
    p.sample_rate = RATE;
    p.direction = 1;
    p.component_count = 2;
    p.observation_error = 1.0;
    p.frequency[0] = 0.5, p.amplitude[0] = 1.0, p.k[0] = 5.0;
    p.frequency[1] = 1.3, p.amplitude[1] = 0.5, p.k[1] = 5.0;
    KalmanModel model;
    buildKalmanModel(p, model);
    ComponentOutput out[MAX_COMPONENTS];
    // Threshold 0: the change is never strictly below it.
    KalmanBlockFilter never(model, 0.0);
    KalmanDenseFilter neverDense(model, 0.0);
    for (int j = 0; j < 3000; ++j)
        never.step(0.1, out), neverDense.step(0.1, out);
    EXPECT_TRUE(never.converging());
    EXPECT_TRUE(neverDense.converging());
    // A huge threshold freezes after the first sample.
    KalmanBlockFilter first(model, 1e30);
    KalmanDenseFilter firstDense(model, 1e30);
    first.step(0.1, out), firstDense.step(0.1, out);
    EXPECT_FALSE(first.converging());
    EXPECT_FALSE(firstDense.converging());
}

TEST(KalmanFilter, FrozenGainGivesTheSameOutputs) {
    // Once the covariance has settled, reusing the last gain changes the
    // outputs by no more than the settled covariance still moved.
    std::vector<double> z = sinusoids(WAVES, 6000, RATE, 0.02);
    KalmanOptions always = optionsFor(3, 1.0);
    always.asymptotic = 0.0;
    KalmanOptions frozen = optionsFor(3, 1.0);
    frozen.asymptotic = 1e-12;
    auto a = makeRun(z, RATE, WAVE_COMPONENTS, always);
    auto b = makeRun(z, RATE, WAVE_COMPONENTS, frozen);
    KalmanWorker(*a->params);
    KalmanWorker(*b->params);
    for (size_t i = 0; i < a->result.size(); ++i)
        ASSERT_NEAR(a->result[i].re, b->result[i].re, 1e-5) << i;
}

TEST(KalmanFilter, NothingProcessedKeepsTheEstimates) {
    std::vector<double> z = sinusoids(WAVES, 100, RATE, 0.0);
    // An immediate cancel and an empty range: no sample, no division by zero,
    // amplitudes and observation error as they were, no completion message
    // after a cancel.
    for (bool cancel : {true, false}) {
        auto run = makeRun(z, RATE, WAVE_COMPONENTS, optionsFor(2, 4.0), 0, cancel ? 100 : 0);
        RecordingSink sink;
        run->params->window = &sink;
        run->params->cancel = cancel ? 1 : 0;
        KalmanWorker(*run->params);
        EXPECT_EQ(run->params->done.load(), 0);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(run->params->amplitude[k], WAVE_COMPONENTS[size_t(k)].amplitude);
        EXPECT_EQ(run->params->observation_error, 4.0);
        EXPECT_EQ(sink.count(CMD_CALC_DONE), cancel ? 0 : 1);
    }
}

TEST(KalmanFilter, RefusedInputsProcessNothing) {
    std::vector<double> z = sinusoids(WAVES, 100, RATE, 0.0);
    auto run = makeRun(z, RATE, {{1.0, 1.0, 0.0}}, optionsFor(1)); // k = 0
    run->params->amplitude[0] = 1.5;
    KalmanWorker(*run->params);
    EXPECT_EQ(run->params->done.load(), 0);
    EXPECT_EQ(run->params->amplitude[0], 1.5);
    auto outside = makeRun(z, RATE, WAVE_COMPONENTS, optionsFor(1));
    outside->params->channel = 1; // the source has one channel
    KalmanWorker(*outside->params);
    EXPECT_EQ(outside->params->done.load(), 0);
}

TEST(KalmanFilter, NoComponentsLeaveTheSignalAsRest) {
    // No component and no observation noise: every sample is rest, and the
    // estimate has no variance to divide by, so it stays.
    std::vector<double> z = sinusoids(WAVES, 300, RATE, 0.1);
    auto run = makeRun(z, RATE, {}, optionsFor(0, 0.0));
    KalmanWorker(*run->params);
    ASSERT_EQ(run->params->done.load(), 300);
    for (int j = 0; j < 300; ++j)
        ASSERT_EQ(run->rest(j), float(z[size_t(j)]));
    EXPECT_EQ(run->params->observation_error, 0.0);
}

#include "aprox/aprox_worker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "aprox/aprox_linear_fit.h"
#include "aprox/aprox_model.h"
#include "aprox/aprox_newton.h"
#include "aprox_test_support.h"
#include "numeric/constants.h"

namespace {

class Recorder : public MessageSink {
  public:
    void post(int command, int32_t done, uint32_t) override {
        commands.push_back(command);
        dones.push_back(done);
    }
    std::vector<int> commands;
    std::vector<int32_t> dones;
};

double maxAbsRest(const FitData& f) {
    double worst = 0.0;
    for (int32_t n = 0; n < f.params->count; ++n)
        worst = std::fmax(worst, std::fabs(f.rest(n).re));
    return worst;
}

void expectRelative(double got, double want, double tolerance, const char* what) {
    EXPECT_LE(std::fabs(got - want), tolerance * std::fabs(want)) << what << ": " << got;
}

} // namespace

TEST(AproxFit, RecoversOneDampedSinusoidAndLevelFromNearbyStart) {
    // The data are the model itself (rounded to floats), so the least-squares
    // optimum is the generating parameter set.
    const DampedWave truth{1.3, 0.05, 2.0, -1.5};
    const double level = 0.7, rate = 50.0;
    FitData f(2000, rate, [&](int32_t n) { return waveValue(level, {truth}, n / rate); });
    f.start({{1.3025, 0.03, 0.0, 0.0}}, 0.0, false, true);
    Recorder sink;
    f.params->window = &sink;

    AproxWorker(*f.params);

    const AproxParams& p = *f.params;
    EXPECT_TRUE(p.stop == AproxStop::StepLimit || p.stop == AproxStop::RmsRise);
    EXPECT_LE(p.iteration.load(), APROX_MAX_STEPS);
    expectRelative(p.frequency[0], truth.frequency, 1e-4, "f");
    expectRelative(p.eta[0], truth.eta, 1e-4, "eta");
    expectRelative(p.a[0], truth.a, 1e-4, "A");
    expectRelative(p.d[0], truth.d, 1e-4, "D");
    expectRelative(p.level, level, 1e-4, "c");
    // Float rounding of the samples (|y| < 4.2, half an ulp 2.4e-7) is all
    // that is left.
    EXPECT_LT(maxAbsRest(f), 1e-5);
    EXPECT_LT(p.rms, 1e-6);
    ASSERT_EQ(sink.commands.size(), 1u);
    EXPECT_EQ(sink.commands[0], CMD_CALC_DONE);
    EXPECT_EQ(sink.dones[0], 2000);
}

TEST(AproxFit, RecoversTwoUndampedComponentsWithinTheNoise) {
    const std::vector<DampedWave> truth{{0.8, 0.0, 1.0, 0.5}, {2.1, 0.0, -0.4, 0.3}};
    const double level = 0.1, rate = 20.0, sigma = 0.05;
    const int32_t N = 4000;
    std::mt19937 gen(20240611u);
    std::normal_distribution<double> noise(0.0, sigma);
    FitData f(N, rate, [&](int32_t n) { return waveValue(level, truth, n / rate) + noise(gen); });
    // Undamped: Eta is neither used nor changed, whatever it holds.
    f.start({{0.8005, -3.5, 0.0, 0.0}, {2.0995, 0.0, 0.0, 0.0}}, 0.0, false, false);
    f.params->eta[1] = std::nan("");

    runAprox(*f.params);

    // Cramer-Rao bounds for a real sinusoid of amplitude a in white noise:
    // var(omega) = 12 sigma^2 / (a^2 N^3) (rad per sample), var(A), var(D)
    // below 8 sigma^2 / N with the phase taken at the first sample, and
    // var(c) = sigma^2 / N. Six standard deviations are allowed.
    const AproxParams& p = *f.params;
    for (size_t k = 0; k < truth.size(); ++k) {
        double amplitude = std::hypot(truth[k].a, truth[k].d);
        double sdOmega = std::sqrt(12.0 * sigma * sigma / (amplitude * amplitude * std::pow(N, 3)));
        double sdFrequency = sdOmega * rate / (2.0 * M_PI);
        double sdAmplitude = std::sqrt(8.0 * sigma * sigma / N);
        EXPECT_NEAR(p.frequency[k], truth[k].frequency, 6 * sdFrequency) << k;
        EXPECT_NEAR(p.a[k], truth[k].a, 6 * sdAmplitude) << k;
        EXPECT_NEAR(p.d[k], truth[k].d, 6 * sdAmplitude) << k;
    }
    EXPECT_NEAR(p.level, level, 6 * sigma / std::sqrt(N));
    // The rest is the noise: its RMS is sigma within a few percent.
    EXPECT_NEAR(p.rms, sigma, 0.05 * sigma);
    EXPECT_EQ(p.eta[0], -3.5);
    EXPECT_TRUE(std::isnan(p.eta[1]));
}

TEST(AproxFit, WithoutComponentsTheLevelIsTheMeanAndTheRestTheDeviation) {
    const int32_t N = 1001;
    FitData f(N, 10.0, [](int32_t n) { return 3.0 + std::sin(0.37 * n) + 0.001 * n; });
    f.start({}, 123.0, false, false);
    Recorder sink;
    f.params->window = &sink;

    AproxWorker(*f.params);

    long double sum = 0;
    for (int32_t n = 0; n < N; ++n)
        sum += f.y(n);
    const double mean = double(sum / N);
    const AproxParams& p = *f.params;
    EXPECT_NEAR(p.level, mean, 1e-12);
    // The Newton step from the mean is zero to rounding and ends the run.
    EXPECT_EQ(p.stop, AproxStop::StepLimit);
    EXPECT_EQ(p.iteration.load(), 1);
    for (int32_t n = 0; n < N; ++n) {
        EXPECT_NEAR(f.rest(n).re, f.y(n) - mean, 1e-6) << n;
        EXPECT_EQ(f.rest(n).im, 0.0f);
    }
    ASSERT_EQ(sink.commands.size(), 1u);
    EXPECT_EQ(sink.dones[0], N);
}

TEST(AproxFit, ComponentRowsHoldValueAndQuadratureAndSumToTheModel) {
    // Result pair k is (A + iD) conj(z_k(n)); pairs plus the rest rebuild y.
    const std::vector<DampedWave> truth{{0.5, 0.1, 1.0, 2.0}, {1.7, 0.0, -0.5, 0.25}};
    FitData f(300, 10.0, [&](int32_t n) { return waveValue(0.3, truth, n / 10.0); });
    f.start(truth, 0.3, true, true);
    f.params->cancel.store(1); // rows of the start values only
    runAprox(*f.params);
    ASSERT_EQ(f.params->stop, AproxStop::Cancelled);
    EXPECT_EQ(f.params->done.load(), 0); // no pass is made for a cancelled start

    f.params->cancel.store(0);
    f.params->step_limit = 1e300; // one step from the exact values, then stop
    runAprox(*f.params);
    for (int32_t n = 0; n < 300; n += 7) {
        double t = n / 10.0, sum = 0.0;
        for (int32_t k = 0; k < 2; ++k) {
            const DampedWave& w = truth[size_t(k)];
            double e = std::exp(-w.eta * t), phase = 2 * M_PI * w.frequency * t;
            double value = e * (w.a * std::cos(phase) + w.d * std::sin(phase));
            double quadrature = e * (w.d * std::cos(phase) - w.a * std::sin(phase));
            EXPECT_NEAR(f.row(n, k).re, value, 1e-5) << n;
            EXPECT_NEAR(f.row(n, k).im, quadrature, 1e-5) << n;
            sum += f.row(n, k).re;
        }
        EXPECT_NEAR(sum + f.rest(n).re + 0.3, f.y(n), 1e-5) << n;
    }
}

TEST(AproxStops, RiseOfTheRmsKeepsTheStepJustMadeButNeverStopsTheFirst) {
    // A negative limit counts every iteration as a rise: the first must go on,
    // the second must stop and return exactly what two plain steps give.
    const DampedWave truth{1.0, 0.2, 1.0, 0.5};
    FitData f(400, 20.0, [&](int32_t n) { return waveValue(0.0, {truth}, n / 20.0); });
    f.start({{1.05, 0.1, 0.8, 0.4}}, 0.05, true, true);
    AproxParams& p = *f.params;
    p.rms_rise_limit = -1e30;

    AproxModel manual = modelFromParams(p);
    NewtonSystem system;
    double step[APROX_MAX_UNKNOWNS];
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(newtonStep(p, manual, true, system, step));
        applyNewtonStep(manual, true, step);
    }
    runAprox(p);

    EXPECT_EQ(p.stop, AproxStop::RmsRise);
    EXPECT_EQ(p.iteration.load(), 2);
    const double dt = 1.0 / 20.0;
    EXPECT_DOUBLE_EQ(p.frequency[0], manual.theta[0] / (2 * PI * dt));
    EXPECT_DOUBLE_EQ(p.eta[0], manual.delta[0] / dt);
    EXPECT_DOUBLE_EQ(p.a[0], manual.a[0]);
    EXPECT_DOUBLE_EQ(p.level, manual.level);
}

TEST(AproxStops, NoMoreThanFortyNineSteps) {
    FitData f(200, 10.0, [](int32_t n) { return std::sin(0.9 * n); });
    f.start({{1.43, 0, 0, 0}}, 0.0, false, false);
    f.params->step_limit = -1.0;     // never converged
    f.params->rms_rise_limit = 1e30; // never risen
    runAprox(*f.params);
    EXPECT_EQ(f.params->stop, AproxStop::MaxSteps);
    EXPECT_EQ(f.params->iteration.load(), 49);
}

TEST(AproxStops, CancelDuringTheLinearFitKeepsItsValuesAndPostsNothing) {
    const DampedWave truth{0.5, 0.0, 1.5, -0.5};
    FitData f(600, 10.0, [&](int32_t n) { return waveValue(2.0, {truth}, n / 10.0); });
    f.start({{0.51, 0.7, 9, 9}}, 9.0, false, false);
    Recorder sink;
    f.params->window = &sink;
    // Set before the thread runs: the worker must not clear it.
    f.params->cancel.store(1);

    AproxModel linear = modelFromParams(*f.params);
    NormalEquations equations;
    ASSERT_TRUE(linearFit(*f.params, linear, equations));
    AproxWorker(*f.params);

    const AproxParams& p = *f.params;
    EXPECT_EQ(p.stop, AproxStop::Cancelled);
    EXPECT_EQ(p.iteration.load(), 0);
    EXPECT_EQ(p.a[0], linear.a[0]);
    EXPECT_EQ(p.d[0], linear.d[0]);
    EXPECT_EQ(p.level, linear.level);
    EXPECT_EQ(p.frequency[0], 0.51); // untouched, not converted back and forth
    EXPECT_EQ(p.eta[0], 0.7);
    EXPECT_EQ(p.done.load(), 600); // the linear fit's pass is complete
    EXPECT_TRUE(sink.commands.empty());
}

// Starting from A = D = 0 the frequency enters the Newton system only through
// its curvature terms; the fit must still move. The audit's case:
// y = 0.5 cos(2 pi 0.4 t + 0.2), 50 Hz, 1000 samples (8 whole periods).
// Closed form of the least-squares optimum (the data are the model):
// f = 0.4, A = 0.5 cos 0.2 = 0.49003, D = -0.5 sin 0.2 = -0.09933, c = 0.
TEST(AproxFit, ZeroStartAmplitudesReachTheClosedFormOptimum) {
    FitData f(1000, 50.0,
              [](int32_t n) { return 0.5 * std::cos(2.0 * M_PI * 0.4 * n / 50.0 + 0.2); });
    f.start({{0.403, 0.0, 0.0, 0.0}}, 0.0, true, false);
    runAprox(*f.params);
    const AproxParams& p = *f.params;
    EXPECT_TRUE(p.stop == AproxStop::StepLimit || p.stop == AproxStop::RmsRise);
    EXPECT_NEAR(p.frequency[0], 0.4, 1e-6);
    EXPECT_NEAR(p.a[0], 0.5 * std::cos(0.2), 1e-6);
    EXPECT_NEAR(p.d[0], -0.5 * std::sin(0.2), 1e-6);
    EXPECT_NEAR(p.level, 0.0, 1e-6);
    EXPECT_LT(maxAbsRest(f), 1e-6);
}

// Systems the data cannot determine: the run must end with finite values and
// finite rows, never with NaN.
TEST(AproxSingular, EqualFrequenciesKeepTheirSum) {
    const DampedWave truth{0.5, 0.0, 1.0, 0.5};
    FitData f(800, 10.0, [&](int32_t n) { return waveValue(0.2, {truth}, n / 10.0); });
    for (int useAd : {0, 1}) {
        SCOPED_TRACE(useAd);
        f.start({{0.5, 0, 0.25, 0.5}, {0.5, 0, 0.75, 0.0}}, 0.2, useAd, false);
        runAprox(*f.params);
        const AproxParams& p = *f.params;
        if (useAd) {
            // Newton may split the amplitude between the two either way, but
            // their sum is what the data determine.
            EXPECT_NEAR(p.a[0] + p.a[1], 1.0, 1e-5);
            EXPECT_NEAR(p.d[0] + p.d[1], 0.5, 1e-5);
            EXPECT_NEAR(p.frequency[1], 0.5, 1e-6);
        } else {
            // The linear fit cannot split them at all and keeps the start.
            EXPECT_EQ(p.stop, AproxStop::LinearFailed);
            EXPECT_EQ(p.a[0], 0.25);
            EXPECT_EQ(p.a[1], 0.75);
            EXPECT_EQ(p.d[0], 0.5);
            EXPECT_EQ(p.frequency[1], 0.5);
        }
        EXPECT_EQ(p.done.load(), 800);
        // The start values add up to the truth, so the rows show a zero rest.
        EXPECT_LT(maxAbsRest(f), 1e-5);
    }
}

TEST(AproxSingular, ZeroFrequencyComponentIsRefusedWithoutNaN) {
    FitData f(300, 10.0, [](int32_t n) { return 1.0 + std::cos(0.4 * n); });
    for (int useEta : {0, 1}) {
        SCOPED_TRACE(useEta);
        f.start({{0.0, 0.1, 0, 0}, {0.4 * 10.0 / (2 * M_PI), 0, 0, 0}}, 0.0, false, useEta);
        runAprox(*f.params);
        const AproxParams& p = *f.params;
        EXPECT_EQ(p.stop, AproxStop::LinearFailed);
        for (int k = 0; k < 2; ++k)
            EXPECT_TRUE(std::isfinite(p.a[k]) && std::isfinite(p.d[k]));
        for (int32_t n = 0; n < 300; ++n)
            ASSERT_TRUE(std::isfinite(f.rest(n).re)) << n;
    }
}

TEST(AproxSingular, AllZeroRangeGivesZerosAndKeepsTheFrequency) {
    FitData f(256, 10.0, [](int32_t) { return 0.0; });
    f.start({{1.25, 0, 0, 0}}, 5.0, false, true);
    runAprox(*f.params);
    const AproxParams& p = *f.params;
    // The linear fit gives exact zeros; with no amplitude the frequency and
    // damping are undetermined, so Newton stops before its first step.
    EXPECT_EQ(p.stop, AproxStop::Singular);
    EXPECT_EQ(p.a[0], 0.0);
    EXPECT_EQ(p.d[0], 0.0);
    EXPECT_EQ(p.level, 0.0);
    EXPECT_EQ(p.frequency[0], 1.25);
    EXPECT_EQ(maxAbsRest(f), 0.0);
}

TEST(AproxRecord, UnusableRecordsWriteNothingButStillEndTheRun) {
    FitData f(50, 10.0, [](int32_t n) { return n; });
    f.start({{1.0, 0, 0, 0}}, 0.0, false, false);
    Recorder sink;
    f.params->window = &sink;
    auto expectRefused = [&](const char* what) {
        SCOPED_TRACE(what);
        f.result.assign(f.result.size(), Sample{-7.0f, -7.0f});
        sink.commands.clear();
        AproxWorker(*f.params);
        EXPECT_EQ(f.params->stop, AproxStop::Invalid);
        EXPECT_EQ(f.params->done.load(), 0);
        EXPECT_EQ(f.result[0].re, -7.0f);
        EXPECT_EQ(sink.commands, std::vector<int>{CMD_CALC_DONE});
    };
    f.params->component_count = 11;
    expectRefused("eleven components");
    f.params->component_count = 1;
    f.params->sample_rate = 0.0;
    expectRefused("no sample rate");
    f.params->sample_rate = 10.0;
    f.params->use_ad = 1;
    f.params->level = NAN;
    expectRefused("level NaN with use_ad");
}

// Synthetic signals and run set-ups shared by the Kalman tests.
#pragma once

#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <random>
#include <vector>

#include "analysis/message_sink.h"
#include "kalman/kalman_options.h"
#include "kalman/kalman_params.h"

constexpr double TEST_PI = 3.141592653589793;

struct TestComponent {
    double frequency, amplitude, k, eta = 0.0;
};

struct Sinusoid {
    double amplitude, frequency, phase = 0.0;
};

// sum of A cos(2 pi f t + phase) at t = j / rate, plus Gaussian noise of
// deviation `noise` from a fixed seed.
inline std::vector<double> sinusoids(const std::vector<Sinusoid>& parts, int count, double rate,
                                     double noise) {
    std::mt19937 gen(7);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::vector<double> z(size_t(count), 0.0);
    for (int j = 0; j < count; ++j) {
        for (const Sinusoid& s : parts)
            z[size_t(j)] +=
                s.amplitude * std::cos(2.0 * TEST_PI * s.frequency * j / rate + s.phase);
        if (noise > 0.0) z[size_t(j)] += noise * gauss(gen);
    }
    return z;
}

// One run over a one-channel source held in plain vectors.
struct KalmanRunData {
    std::vector<Sample> source, result;
    std::unique_ptr<KalmanParams> params = std::make_unique<KalmanParams>();
    int n = 0;

    const Sample& out(int channel, int row) const {
        return result[size_t(row) * size_t(2 * n + 1) + size_t(channel)];
    }
    double rest(int row) const { return out(2 * n, row).re; }
    double signal(int k, int row) const { return out(2 * k, row).re; }
};

// Samples `z` (stored as floats) analysed over rows first .. first+count-1,
// forward or (direction -1) backward.
inline std::unique_ptr<KalmanRunData> makeRun(const std::vector<double>& z, double rate,
                                              const std::vector<TestComponent>& components,
                                              const KalmanOptions& o, int first = 0, int count = -1,
                                              int direction = 1) {
    auto run = std::make_unique<KalmanRunData>();
    for (double v : z)
        run->source.push_back(Sample{float(v), 0.0f});
    if (count < 0) count = int(z.size()) - first;
    run->n = int(components.size());
    run->result.assign(size_t(count) * size_t(2 * run->n + 1), Sample{0.0f, 0.0f});
    KalmanParams& p = *run->params;
    p.source = pairRun(run->source.data(), 1, 0);
    p.result_samples = run->result.data();
    p.first = first;
    p.count = count;
    p.direction = direction;
    p.sample_rate = rate;
    p.component_count = run->n;
    for (int k = 0; k < run->n; ++k) {
        const TestComponent& c = components[size_t(k)];
        p.frequency[k] = c.frequency, p.amplitude[k] = c.amplitude, p.k[k] = c.k, p.eta[k] = c.eta;
    }
    p.model = o.model;
    p.estimate_error = o.estimate_error;
    p.observation_error = o.observation_error;
    p.constant_period = o.constant_period;
    p.asymptotic = o.asymptotic;
    p.use_damp = o.use_damp;
    return run;
}

inline KalmanOptions optionsFor(int model, double observationError = 1.0, int useDamp = 0) {
    KalmanOptions o;
    o.model = model;
    o.observation_error = observationError;
    o.use_damp = useDamp;
    return o;
}

// Root mean square of the rest over rows [from, to).
inline double restRms(const KalmanRunData& run, int from, int to) {
    double sum = 0.0;
    for (int j = from; j < to; ++j)
        sum += run.rest(j) * run.rest(j);
    return std::sqrt(sum / (to - from));
}

// Counts the messages posted to it; waits for the completion message.
class RecordingSink : public MessageSink {
  public:
    void post(int command, int32_t, uint32_t) override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++(command == CMD_CALC_DONE ? done_ : progress_);
        arrived_.notify_all();
    }
    void waitForDone() {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait(lock, [&] { return done_ > 0; });
    }
    int doneMessages() {
        std::lock_guard<std::mutex> lock(mutex_);
        return done_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    int done_ = 0, progress_ = 0;
};

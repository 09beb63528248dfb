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
#include "measure/measure.h"

constexpr double TEST_PI = 3.141592653589793;

struct TestComponent {
    double frequency;
    double amplitude;
    double k;
    double eta = 0.0;
};

struct Sinusoid {
    double amplitude;
    double frequency;
    double phase = 0.0;
};

// sum of A cos(2 pi f t + phase) plus Gaussian noise of deviation `noise`
// (a fixed seed, so every run sees the same samples), at t = j / rate.
inline std::vector<double> sinusoids(const std::vector<Sinusoid>& parts, int count, double rate,
                                     double noise, unsigned seed = 7) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> gauss(0.0, noise > 0.0 ? noise : 1.0);
    std::vector<double> z(size_t(count), 0.0);
    for (int j = 0; j < count; ++j) {
        const double t = j / rate;
        for (const Sinusoid& s : parts)
            z[size_t(j)] += s.amplitude * std::cos(2.0 * TEST_PI * s.frequency * t + s.phase);
        if (noise > 0.0) z[size_t(j)] += gauss(gen);
    }
    return z;
}

// One run over a one-channel source held in plain vectors.
struct KalmanRunData {
    std::vector<Sample> source;
    std::vector<Sample> result;
    std::unique_ptr<KalmanParams> params = std::make_unique<KalmanParams>();
    int n = 0;

    // Result row `row` of result channel `channel`.
    const Sample& out(int channel, int row) const {
        return result[size_t(row) * size_t(2 * n + 1) + size_t(channel)];
    }
    double rest(int row) const { return out(2 * n, row).re; }
    double signal(int k, int row) const { return out(2 * k, row).re; }
};

// Source samples `z` (stored as floats, as a measurement holds them) analysed
// over rows first .. first+count-1, forward or (direction -1) backward.
inline std::unique_ptr<KalmanRunData> makeRun(const std::vector<double>& z, double rate,
                                              const std::vector<TestComponent>& components,
                                              const KalmanOptions& options, int first = 0,
                                              int count = -1, int direction = 1) {
    auto run = std::make_unique<KalmanRunData>();
    for (double v : z)
        run->source.push_back(Sample{float(v), 0.0f});
    if (count < 0) count = int(z.size()) - first;
    run->n = int(components.size());
    run->result.assign(size_t(count) * size_t(2 * run->n + 1), Sample{0.0f, 0.0f});
    KalmanParams& p = *run->params;
    p.source_samples = run->source.data();
    p.result_samples = run->result.data();
    p.channel = 0;
    p.first = first;
    p.count = count;
    p.stride = 1;
    p.direction = direction;
    p.sample_rate = rate;
    p.component_count = run->n;
    for (int k = 0; k < run->n; ++k) {
        p.frequency[k] = components[size_t(k)].frequency;
        p.amplitude[k] = components[size_t(k)].amplitude;
        p.k[k] = components[size_t(k)].k;
        p.eta[k] = components[size_t(k)].eta;
    }
    p.model = options.model;
    p.estimate_error = options.estimate_error;
    p.observation_error = options.observation_error;
    p.constant_period = options.constant_period;
    p.asymptotic = options.asymptotic;
    p.use_damp = options.use_damp;
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

struct PostedMessage {
    int command;
    int32_t done;
};

class RecordingSink : public MessageSink {
  public:
    void post(int command, int32_t done, uint32_t) override {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({command, done});
        arrived_.notify_all();
    }
    // Waits until a message `command` has arrived and returns it.
    PostedMessage waitFor(int command) {
        std::unique_lock<std::mutex> lock(mutex_);
        PostedMessage found{};
        arrived_.wait(lock, [&] {
            for (const PostedMessage& m : messages_)
                if (m.command == command) return found = m, true;
            return false;
        });
        return found;
    }
    int count(int command) {
        std::lock_guard<std::mutex> lock(mutex_);
        int n = 0;
        for (const PostedMessage& m : messages_)
            n += m.command == command;
        return n;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<PostedMessage> messages_;
};

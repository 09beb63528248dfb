// A record ready for the approximation worker: the samples to fit live in the
// second of two channels (the first holds values that must never be read),
// and the result buffer is sized for the components.
#pragma once

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "aprox/aprox_params.h"

// Named apart from the wave-by-wave analysis's Wave, which tests of the
// spectrum's start components link beside this one.
struct DampedWave {
    double frequency; // Hz
    double eta;       // 1/s
    double a;         // cosine part
    double d;         // sine part
};

// level + sum of e^(-eta t) (a cos 2 pi f t + d sin 2 pi f t) at t = n / rate.
inline double waveValue(double level, const std::vector<DampedWave>& waves, double t) {
    double y = level;
    for (const DampedWave& w : waves) {
        double phase = 2.0 * M_PI * w.frequency * t;
        y += std::exp(-w.eta * t) * (w.a * std::cos(phase) + w.d * std::sin(phase));
    }
    return y;
}

struct FitData {
    std::vector<Sample> source;
    std::vector<Sample> result;
    std::unique_ptr<AproxParams> params = std::make_unique<AproxParams>();

    FitData(int32_t count, double rate, const std::function<double(int32_t)>& y)
        : source(2 * size_t(count)) {
        for (int32_t n = 0; n < count; ++n) {
            source[2 * size_t(n)] = Sample{1e6f, -1e6f};
            source[2 * size_t(n) + 1] = Sample{float(y(n)), 555.0f};
        }
        AproxParams& p = *params;
        p.source = pairRun(source.data(), 2, 1);
        p.channel = 1;
        p.first = 0;
        p.count = count;
        p.sample_rate = rate;
        p.step_limit = 1e-8;
        p.rms_rise_limit = 0.0;
    }

    // Start values: frequencies and dampings of `waves`, amplitudes as given.
    void start(const std::vector<DampedWave>& waves, double level, bool useAd, bool useEta) {
        AproxParams& p = *params;
        p.component_count = int32_t(waves.size());
        for (size_t k = 0; k < waves.size(); ++k) {
            p.frequency[k] = waves[k].frequency;
            p.eta[k] = waves[k].eta;
            p.a[k] = waves[k].a;
            p.d[k] = waves[k].d;
        }
        p.level = level;
        p.use_ad = useAd;
        p.use_eta = useEta;
        result.assign(size_t(p.count) * (waves.size() + 1), Sample{-7.0f, -7.0f});
        p.result_samples = result.data();
    }

    double y(int32_t n) const { return source[2 * size_t(n) + 1].re; }
    const Sample& row(int32_t n, int32_t channel) const {
        return result[size_t(n) * size_t(params->component_count + 1) + size_t(channel)];
    }
    const Sample& rest(int32_t n) const { return row(n, params->component_count); }
};

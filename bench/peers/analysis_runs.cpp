#include "analysis_runs.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>

#include "analysis/finish_signal.h"
#include "analysis/fourier.h"
#include "aprox/aprox.h"
#include "kalman/kalman.h"
#include "measure/finite_block.h"
#include "measure/statistics.h"
#include "measure/statistics_report.h"
#include "peer_signal.h"
#include "waves/reflection.h"
#include "waves/spectrum_measure.h"
#include "waves/spectrum_report.h"
#include "waves/wave_by_wave.h"

namespace {

bool runResult(CCalculation& result, const CMeasure& m, const BlockRange& range) {
    if (!nonFiniteRefusal(m, range).empty()) return false;
    FinishSignal finish;
    if (!result.StartWorker(&finish)) return false;
    while (!finish.waitFor(std::chrono::milliseconds(1000))) {
    }
    result.StopWorker();
    return true;
}

// One channel (two for reflection) of `n` samples of `value` at `rate`.
std::unique_ptr<CMeasure> measureOf(int32_t n, int channels, double rate,
                                    const std::function<float(int32_t, int)>& value) {
    auto m = std::make_unique<CMeasure>();
    m->channelCount = channels;
    m->sampleCount = n;
    m->sampleRate = rate;
    describePlainChannels(*m);
    if (!m->allocateSamples()) return nullptr;
    for (int32_t j = 0; j < n; ++j)
        for (int c = 0; c < channels; ++c)
            m->setSample(c, j, Sample{value(j, c), 0.0f});
    return m;
}

bool fourierRun(CMeasure& m, bool onesided) {
    const BlockRange range{0, 0, m.sampleCount};
    CFft result(&m, range, FourierOptions{});
    result.onesided = onesided;
    return runResult(result, m, range);
}

bool spectrumRun(CMeasure& m) {
    BlockValues block;
    const BlockRange range{0, 0, m.sampleCount};
    if (!blockValues(m, range, block) || !nonFiniteRefusal(m, range).empty()) return false;
    SpectrumReport r;
    CMeasure curve;
    return spectrumReport(block, 4096, Detrend::Linear, SpectralBand{}, r, nullptr) &&
           spectrumMeasure(r.spectrum, r.band, "m", curve);
}

bool statsRun(CMeasure& m) {
    const BlockRange range{0, 0, m.sampleCount};
    SignalStatistics s{};
    if (!prepareStatistics(s, m, range) || !nonFiniteRefusal(m, range).empty()) return false;
    computeStatistics(s, STAT_ALL);
    return statisticsReport(s, range).to == range.to;
}

bool wavesRun(CMeasure& m) {
    BlockValues block;
    const BlockRange range{0, 0, m.sampleCount};
    if (!blockValues(m, range, block) || !nonFiniteRefusal(m, range).empty()) return false;
    WaveStatistics s;
    return analyseWaves(block, WaveOptions{}, s, nullptr);
}

bool reflectionRun(CMeasure& m) {
    std::vector<BlockValues> blocks(2);
    for (int c = 0; c < 2; ++c)
        if (!blockValues(m, BlockRange{c, 0, m.sampleCount}, blocks[size_t(c)])) return false;
    if (!nonFiniteRefusal(m, {0, 1}, 0, m.sampleCount).empty()) return false;
    ReflectionOptions options;
    options.positions = {0.0, 0.3};
    options.depth = 0.5;
    options.detrend = Detrend::Linear;
    ReflectionResult r;
    CMeasure curves;
    return separateReflection(blocks, options, r, nullptr) && reflectionMeasure(r, "m", curves);
}

bool kalmanRun(CMeasure& m, int k) {
    SignalParameters& list = m.signalParameters[0];
    resetParameters(list);
    for (int c = 0; c < k; ++c) {
        SignalComponent w = list.components[c];
        w.frequency = peerKalmanFrequency(c);
        w.amplitude = 1.0 / (c + 1);
        w.k = 8.0;
        appendComponent(list, w);
    }
    KalmanOptions options;
    options.model = 3;
    const BlockRange range{0, 0, m.sampleCount};
    CKalman result(&m, range, options);
    return runResult(result, m, range);
}

bool aproxRun(CMeasure& m, int k) {
    SignalParameters& list = m.signalParameters[0];
    resetParameters(list);
    list.level = 0.09;
    for (int c = 0; c < k; ++c) {
        SignalComponent w = list.components[c];
        w.frequency = peerFitFrequency(c) * 1.0001;
        w.eta = peerFitEta(c) * 1.05;
        w.a = 0.9 / (c + 1);
        w.d = 0.27;
        appendComponent(list, w);
    }
    AproxOptions options;
    options.use_ad = 1;
    options.use_eta = 1;
    const BlockRange range{0, 0, m.sampleCount};
    CAprox result(&m, range, options);
    return runResult(result, m, range);
}

double bestOfThree(const std::function<bool()>& run) {
    if (!run()) return -1;
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        auto start = std::chrono::steady_clock::now();
        if (!run()) return -1;
        std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
        best = std::min(best, ms.count());
    }
    return best;
}

} // namespace

double analysisMilliseconds(const std::string& name, int32_t n, int k) {
    auto signal = [](int32_t j, int c) { return peerSignal(j + 7 * c); };
    if (name == "aprox") {
        // The fit signal of peer_harness.cpp: damped components and a level.
        auto fit = [&](int32_t j, int) {
            const double t = j / PEER_FIT_RATE;
            double y = 0.1;
            for (int c = 0; c < k; ++c) {
                const double phase = 2 * 3.141592653589793 * peerFitFrequency(c) * t;
                y += std::exp(-peerFitEta(c) * t) *
                     (1.0 / (c + 1) * std::cos(phase) + 0.3 * std::sin(phase));
            }
            return float(y + 0.01 * (peerSignal(j) - peerSignal(0)));
        };
        auto m = measureOf(n, 1, PEER_FIT_RATE, fit);
        return m ? bestOfThree([&] { return aproxRun(*m, k); }) : -1;
    }
    auto m = measureOf(n, name == "reflection" ? 2 : 1, name == "kalman" ? PEER_KALMAN_RATE : 50.0,
                       signal);
    if (!m) return -1;
    if (name == "fourier") return bestOfThree([&] { return fourierRun(*m, false); });
    if (name == "fourier-onesided") return bestOfThree([&] { return fourierRun(*m, true); });
    if (name == "spectrum") return bestOfThree([&] { return spectrumRun(*m); });
    if (name == "stats") return bestOfThree([&] { return statsRun(*m); });
    if (name == "waves") return bestOfThree([&] { return wavesRun(*m); });
    if (name == "reflection") return bestOfThree([&] { return reflectionRun(*m); });
    if (name == "kalman") return bestOfThree([&] { return kalmanRun(*m, k); });
    return -1;
}

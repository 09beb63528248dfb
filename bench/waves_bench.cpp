// The wave analyses on a 16-channel record of 2,097,152 samples, each against
// the program's Fourier transform of one channel of the same record, in the
// same run. bench/waves_ratios.sh prints the ratios.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "analysis/fourier.h"
#include "waves/reflection.h"
#include "waves/wave_by_wave.h"

namespace {

constexpr int CHANNELS = 16;
constexpr int ROWS = 2097152;
constexpr double RATE = 50.0;

// Irregular-looking gauge records: a few waves of periods 1.1 to 2.3 s with
// their phases moving along the channels, and noise.
const CMeasure& record() {
    static std::unique_ptr<CMeasure> m = [] {
        auto r = std::make_unique<CMeasure>();
        r->channelCount = CHANNELS;
        r->sampleCount = ROWS;
        r->sampleRate = RATE;
        r->sampleFormat = SAMPLE_FORMAT_REAL;
        r->allocateSamples();
        std::mt19937 gen(3);
        std::normal_distribution<float> noise(0.0f, 0.002f);
        const double periods[4] = {1.1, 1.5, 1.9, 2.3};
        for (int c = 0; c < CHANNELS; ++c)
            for (int j = 0; j < ROWS; ++j) {
                double t = j / RATE, v = 0;
                for (int w = 0; w < 4; ++w)
                    v += 0.02 * std::cos(2 * M_PI * t / periods[w] - 0.4 * c * (w + 1));
                r->setSample(c, j, Sample{float(v) + noise(gen), 0.0f});
            }
        return r;
    }();
    return *m;
}

void BM_FourierOneChannel(benchmark::State& state) {
    const CMeasure& m = record();
    std::vector<Sample> result(static_cast<size_t>(ROWS));
    FourierParams p;
    p.source = m.values(1);
    p.result_samples = result.data();
    p.channel = 1;
    p.first = 0;
    p.count = ROWS;
    for (auto _ : state) {
        p.done.store(0);
        FourierWorker(p);
        benchmark::DoNotOptimize(result.data());
    }
}

void BM_Waves(benchmark::State& state) {
    const CMeasure& m = record();
    for (auto _ : state) {
        BlockValues block;
        WaveStatistics s;
        blockValues(m, BlockRange{1, 0, ROWS}, block);
        if (!analyseWaves(block, WaveOptions{false, 0.005}, s, nullptr))
            state.SkipWithError("no waves");
        benchmark::DoNotOptimize(s.h13);
    }
}

void BM_Spectrum(benchmark::State& state) {
    const CMeasure& m = record();
    for (auto _ : state) {
        BlockValues block;
        VarianceSpectrum s;
        SpectralParameters p;
        blockValues(m, BlockRange{1, 0, ROWS}, block);
        if (!varianceSpectrum(block, 0, s, nullptr) ||
            !spectralParameters(s, SpectralBand{}, p, nullptr))
            state.SkipWithError("no spectrum");
        benchmark::DoNotOptimize(p.hm0);
    }
}

void BM_Reflection(benchmark::State& state) {
    const CMeasure& m = record();
    const int gauges = int(state.range(0));
    ReflectionOptions o;
    o.positions = {0.0, 0.4, 0.9};
    o.positions.resize(size_t(gauges));
    o.depth = 0.6;
    for (auto _ : state) {
        std::vector<BlockValues> blocks(static_cast<size_t>(gauges));
        for (int g = 0; g < gauges; ++g)
            blockValues(m, BlockRange{1 + g, 0, ROWS}, blocks[size_t(g)]);
        ReflectionResult r;
        if (!separateReflection(blocks, o, r, nullptr)) state.SkipWithError("no separation");
        benchmark::DoNotOptimize(r.kr);
    }
}

} // namespace

BENCHMARK(BM_FourierOneChannel)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Waves)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Spectrum)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Reflection)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();

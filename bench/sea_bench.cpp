// The synthesis of one hour of irregular sea at 100 Hz (360,000 samples, a
// JONSWAP drive for a piston), against one complex FFT of the same length
// in the same run. bench/sea_ratio.sh prints the ratio.
#include <benchmark/benchmark.h>

#include <complex>

#include "analysis/fft_plan.h"
#include "sea/sea_synthesis.h"

namespace {

constexpr double HOUR = 3600;
constexpr double DT = 0.01;
constexpr int32_t SAMPLES = 360000;

SeaParameters hourOfSea() {
    SeaParameters p;
    p.dt = DT;
    p.duration = HOUR;
    return p;
}

void BM_FftOneHour(benchmark::State& state) {
    FftBuffer z(SAMPLES);
    for (int32_t i = 0; i < SAMPLES; ++i)
        z[i] = std::complex<double>(i % 7, 0);
    executeDft(z, +1); // the plan is made once, as the synthesis finds it made
    for (auto _ : state) {
        executeDft(z, +1);
        benchmark::DoNotOptimize(z.data());
    }
}
BENCHMARK(BM_FftOneHour)->Unit(benchmark::kMillisecond);

void BM_SynthesiseOneHour(benchmark::State& state) {
    const SeaParameters p = hourOfSea();
    for (auto _ : state) {
        SeaDrive d;
        synthesiseSea(p, d, nullptr);
        benchmark::DoNotOptimize(d.displacement.data());
    }
}
BENCHMARK(BM_SynthesiseOneHour)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

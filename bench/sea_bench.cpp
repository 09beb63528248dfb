// The synthesis of one hour of irregular sea at 100 Hz (360,000 samples, a
// JONSWAP drive for a piston), against one complex FFT of the same length
// in the same run; and thirty minutes at 50 Hz of the flume's example sea
// (Hm0 0.1 m, Tp 1.6 s, 0.6 m, a band of 0.5 - 3 fp: 2812 components, four
// million pairs) at second order against the same sea at first order.
// bench/sea_ratio.sh prints the ratios.
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

SeaParameters halfHourAt50Hz(int order) {
    SeaParameters p;
    p.hm0 = 0.1;
    p.tp = 1.6;
    p.depth = 0.6;
    p.dt = 0.02;
    p.duration = 1800;
    p.order = order;
    return p;
}

void BM_HalfHourOfOrder(benchmark::State& state) {
    const SeaParameters p = halfHourAt50Hz(int(state.range(0)));
    for (auto _ : state) {
        SeaDrive d;
        synthesiseSea(p, d, nullptr);
        benchmark::DoNotOptimize(d.displacement.data());
    }
}
BENCHMARK(BM_HalfHourOfOrder)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

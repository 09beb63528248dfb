// The Kalman filter at its largest: ten components over 200,000 samples, in
// every model, against the dense N x N steps it replaces. The dense filter is
// timed on fewer samples; both report samples per second.
#include <benchmark/benchmark.h>

#include <vector>

#include "kalman/kalman_dense_filter.h"
#include "kalman/kalman_filter.h"
#include "kalman/kalman_test_support.h"

namespace {

constexpr int BLOCK_SAMPLES = 200000;
constexpr int DENSE_SAMPLES = 4000;
constexpr double RATE = 50.0;

std::vector<TestComponent> components() {
    std::vector<TestComponent> list;
    for (int k = 0; k < MAX_COMPONENTS; ++k)
        list.push_back({0.2 + 0.45 * k, 1.0 / (k + 1), 8.0});
    return list;
}

const std::vector<double>& signal() {
    static const std::vector<double> z = [] {
        std::vector<Sinusoid> parts;
        for (const TestComponent& c : components())
            parts.push_back({c.amplitude, c.frequency, 0.3});
        return sinusoids(parts, BLOCK_SAMPLES, RATE, 0.01);
    }();
    return z;
}

void runFilter(benchmark::State& state, WorkerBody body, int samples, double asymptotic) {
    KalmanOptions options = optionsFor(int(state.range(0)), 1.0);
    options.asymptotic = asymptotic;
    for (auto _ : state) {
        state.PauseTiming();
        auto run = makeRun(signal(), RATE, components(), options, 0, samples);
        state.ResumeTiming();
        body(*run->params);
        benchmark::DoNotOptimize(run->result.data());
    }
    state.SetItemsProcessed(state.iterations() * samples);
}

// Model 3 with its default threshold freezes the gain once it has settled;
// the threshold 0 keeps the covariance running, its worst case.
void BM_KalmanBlock(benchmark::State& state) {
    runFilter(state, &KalmanWorker, BLOCK_SAMPLES, KalmanOptions{}.asymptotic);
}
BENCHMARK(BM_KalmanBlock)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_KalmanBlockNeverFrozen(benchmark::State& state) {
    runFilter(state, &KalmanWorker, BLOCK_SAMPLES, 0.0);
}
BENCHMARK(BM_KalmanBlockNeverFrozen)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_KalmanDense(benchmark::State& state) {
    runFilter(state, &KalmanDenseWorker, DENSE_SAMPLES, 0.0);
}
BENCHMARK(BM_KalmanDense)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();

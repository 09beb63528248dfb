// The Fourier worker against the bare FFTW transform of the same length, and
// the direct sum for scale.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <random>
#include <vector>

#include "analysis/fourier.h"

namespace {

constexpr int CHANNELS = 2; // the worker reads one channel of two, as from a real file

std::vector<Sample> makeSource(int n) {
    std::mt19937 gen(1);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::vector<Sample> pairs(size_t(n) * CHANNELS);
    for (Sample& s : pairs)
        s = {u(gen), u(gen)};
    return pairs;
}

void fillParams(FourierParams& p, const std::vector<Sample>& source, std::vector<Sample>& result,
                int n) {
    p.source = pairRun(source.data(), CHANNELS, 1);
    p.result_samples = result.data();
    p.channel = 1;
    p.first = 0;
    p.count = n;
}

void BM_FourierWorker(benchmark::State& state) {
    const int n = int(state.range(0));
    std::vector<Sample> source = makeSource(n);
    std::vector<Sample> result(static_cast<size_t>(n));
    FourierParams p;
    fillParams(p, source, result, n);
    for (auto _ : state) {
        p.done.store(0);
        FourierWorker(p);
        benchmark::DoNotOptimize(result.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_BareFftw(benchmark::State& state) {
    const int n = int(state.range(0));
    auto* in = fftw_alloc_complex(size_t(n));
    auto* out = fftw_alloc_complex(size_t(n));
    fftw_plan plan = fftw_plan_dft_1d(n, in, out, FFTW_BACKWARD, FFTW_ESTIMATE);
    std::vector<Sample> source = makeSource(n);
    for (int j = 0; j < n; ++j) {
        in[j][0] = source[size_t(j) * CHANNELS + 1].re;
        in[j][1] = 0.0;
    }
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * n);
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}

void BM_DirectSum(benchmark::State& state) {
    const int n = int(state.range(0));
    std::vector<Sample> source = makeSource(n);
    std::vector<Sample> result(static_cast<size_t>(n));
    FourierParams p;
    fillParams(p, source, result, n);
    for (auto _ : state) {
        for (int k = 0; k < n; ++k)
            benchmark::DoNotOptimize(fourierBinDirect(p, k));
    }
    state.SetItemsProcessed(state.iterations() * n);
}

} // namespace

BENCHMARK(BM_FourierWorker)->Arg(2097152)->Arg(999983)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareFftw)->Arg(2097152)->Arg(999983)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectSum)->Arg(8192)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

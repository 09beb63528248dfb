// One Newton iteration of the approximation at its largest: ten damped
// components (41 unknowns) over a million samples.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "aprox/aprox_model.h"
#include "aprox/aprox_newton.h"
#include "aprox/aprox_test_support.h"

namespace {

constexpr int32_t SAMPLES = 1000000;
constexpr double RATE = 1000.0;

std::vector<DampedWave> truth() {
    std::vector<DampedWave> waves;
    for (int k = 0; k < MAX_COMPONENTS; ++k)
        waves.push_back({0.37 + 1.1 * k, 0.001 * (k + 1), 1.0 / (k + 1), 0.5 - 0.1 * k});
    return waves;
}

// Noisy data and a start a little off the truth, as a run meets them.
struct Problem {
    FitData data;
    AproxModel start;

    Problem()
        : data(SAMPLES, RATE, [](int32_t n) {
              static std::mt19937 gen(5);
              static std::normal_distribution<double> noise(0.0, 0.01);
              static const std::vector<DampedWave> waves = truth();
              return waveValue(0.2, waves, n / RATE) + noise(gen);
          }) {
        std::vector<DampedWave> guess = truth();
        for (DampedWave& w : guess) {
            w.frequency += 1e-5;
            w.eta *= 1.01;
            w.a *= 0.99;
        }
        data.start(guess, 0.19, true, true);
        start = modelFromParams(*data.params);
    }
};

Problem& problem() {
    static Problem p;
    return p;
}

void BM_AproxNewtonIteration(benchmark::State& state) {
    Problem& p = problem();
    NewtonSystem system;
    double step[APROX_MAX_UNKNOWNS];
    for (auto _ : state) {
        AproxModel m = p.start;
        if (!newtonStep(*p.data.params, m, true, system, step)) {
            state.SkipWithError("the Newton system was singular");
            break;
        }
        applyNewtonStep(m, true, step);
        benchmark::DoNotOptimize(outputPass(*p.data.params, m));
    }
    state.SetItemsProcessed(state.iterations() * SAMPLES);
}
BENCHMARK(BM_AproxNewtonIteration)->Unit(benchmark::kMillisecond)->Iterations(5);

// The parts of the iteration: the sums of gradient and Hessian, and the pass
// that writes the rows.
void BM_AproxNewtonSums(benchmark::State& state) {
    Problem& p = problem();
    NewtonSystem system;
    for (auto _ : state) {
        accumulateNewton(*p.data.params, p.start, true, system);
        benchmark::DoNotOptimize(system.equations.rhs()[0]);
    }
    state.SetItemsProcessed(state.iterations() * SAMPLES);
}
BENCHMARK(BM_AproxNewtonSums)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AproxOutputPass(benchmark::State& state) {
    Problem& p = problem();
    for (auto _ : state)
        benchmark::DoNotOptimize(outputPass(*p.data.params, p.start));
    state.SetItemsProcessed(state.iterations() * SAMPLES);
}
BENCHMARK(BM_AproxOutputPass)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();

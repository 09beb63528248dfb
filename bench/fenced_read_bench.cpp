// What reading HDF5 and MATLAB files in a child process costs: the same
// 128 MiB file read in this process (the reader called directly) and through
// readMeasure, which forks the reading child and maps its samples.
//
// Run: build-bench/bench/fenced_read_bench --benchmark_repetitions=7
// The files are written once to $TMPDIR (default /tmp) and stay in the page
// cache; the ratio of the two rows of a type is the fence's cost.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "measure/hdf5_format.h"
#include "measure/mat_format.h"
#include "measure/measure_file.h"

namespace {

std::string tempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

// 16 channels x 2,097,152 rows: 128 MiB of float32 in the .h5, twice that
// in the .mat's doubles; or, `small`, 16 x 1000 rows, where what the fence
// costs whatever the size (the child, its buffers) shows.
const std::string& benchFile(FileType type, bool small) {
    static std::string paths[2][2];
    std::string& path = paths[type == FileType::Hdf5][small];
    if (path.empty()) {
        const std::string name = std::string("ondarix_bench_16x") + (small ? "1000" : "2M");
        path = tempPath((name + (type == FileType::Hdf5 ? ".h5" : ".mat")).c_str());
        CMeasure m;
        m.channelCount = 16;
        m.sampleCount = small ? 1000 : 1 << 21;
        m.sampleRate = 1000.0;
        describePlainChannels(m);
        m.allocateSamples();
        for (int64_t i = 0; i < int64_t(16) * m.sampleCount; ++i)
            m.setSample(int(i % m.channelCount), i / m.channelCount,
                        Sample{float(std::sin(double(i) * 1e-3)), 0.0f});
        writeMeasure(m, path, type, nullptr);
    }
    return path;
}

void readOnce(benchmark::State& state, FileType type, bool fenced, bool small = false) {
    const std::string& path = benchFile(type, small);
    for (auto _ : state) {
        CMeasure m;
        std::string why;
        const bool ok = fenced                   ? readMeasure(m, path, type, &why)
                        : type == FileType::Hdf5 ? readHdf5(m, path.c_str(), &why)
                                                 : readMat(m, path.c_str(), &why);
        if (!ok) state.SkipWithError(why.c_str());
        benchmark::DoNotOptimize(m.blockBytes());
    }
}

void BM_Hdf5InProcess(benchmark::State& state) {
    readOnce(state, FileType::Hdf5, false);
}
void BM_Hdf5Fenced(benchmark::State& state) {
    readOnce(state, FileType::Hdf5, true);
}
void BM_MatInProcess(benchmark::State& state) {
    readOnce(state, FileType::Mat, false);
}
void BM_MatFenced(benchmark::State& state) {
    readOnce(state, FileType::Mat, true);
}

void BM_SmallMatInProcess(benchmark::State& state) {
    readOnce(state, FileType::Mat, false, true);
}

void BM_SmallMatFenced(benchmark::State& state) {
    readOnce(state, FileType::Mat, true, true);
}

void BM_SmallHdf5InProcess(benchmark::State& state) {
    readOnce(state, FileType::Hdf5, false, true);
}

void BM_SmallHdf5Fenced(benchmark::State& state) {
    readOnce(state, FileType::Hdf5, true, true);
}

} // namespace

BENCHMARK(BM_Hdf5InProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Hdf5Fenced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MatInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MatFenced)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_SmallHdf5InProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmallHdf5Fenced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmallMatInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmallMatFenced)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

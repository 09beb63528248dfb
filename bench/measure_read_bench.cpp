// Reading large measurements, against the plain reading of the same bytes.
//
// Run: build-bench/bench/measure_read_bench
// The file is written once to $TMPDIR (default /tmp) and stays in the page
// cache, so both sides measure the same thing: bytes from the cache into memory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "measure/int_format.h"
#include "measure/text_format.h"

namespace {

std::string tempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

// 16 channels x 2,097,152 samples as layout 5: 128 MiB of floats.
const std::string& bigIntFile() {
    static std::string path = [] {
        std::string p = tempPath("ondarix_bench_16x2M.INT");
        CMeasure m;
        m.channelCount = 16;
        m.sampleCount = INT_MAX_SAMPLES;
        m.sampleRate = 1000.0;
        m.allocateSamples();
        for (int64_t i = 0; i < int64_t(16) * INT_MAX_SAMPLES; ++i)
            m.setSample(int(i % m.channelCount), i / m.channelCount,
                        Sample{float(std::sin(double(i) * 1e-3)), 0.0f});
        writeInt(m, p.c_str());
        return p;
    }();
    return path;
}

// 4 channels, 1,000,000 lines in the program's own "%e" text form.
const std::string& bigTextFile() {
    static std::string path = [] {
        std::string p = tempPath("ondarix_bench_4x1M.TXT");
        CMeasure m;
        m.channelCount = 4;
        m.sampleCount = 1000000;
        m.sampleRate = 100.0;
        m.allocateSamples();
        for (int64_t i = 0; i < int64_t(4) * 1000000; ++i)
            m.setSample(int(i % m.channelCount), i / m.channelCount,
                        Sample{float(0.05 * std::sin(double(i) * 7e-3)), 0.0f});
        writeTextFile(m, p.c_str());
        return p;
    }();
    return path;
}

int64_t fileSize(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    long n = std::ftell(f);
    std::fclose(f);
    return n;
}

// The reference: read() of the whole file into a freshly allocated buffer.
void BM_PlainRead(benchmark::State& state) {
    const std::string& path = bigIntFile();
    int64_t size = fileSize(path);
    for (auto _ : state) {
        std::vector<char>* buffer = new std::vector<char>();
        buffer->reserve(size_t(size));
        int fd = open(path.c_str(), O_RDONLY);
        size_t done = 0;
        ssize_t got;
        while ((got = read(fd, buffer->data() + done, size_t(size) - done)) > 0)
            done += size_t(got);
        close(fd);
        benchmark::DoNotOptimize(buffer->data());
        delete buffer;
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadIntLayout5(benchmark::State& state) {
    const std::string& path = bigIntFile();
    for (auto _ : state) {
        CMeasure m;
        if (!readInt(m, path.c_str())) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(m.blockBytes());
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}
BENCHMARK(BM_ReadIntLayout5)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadText(benchmark::State& state) {
    const std::string& path = bigTextFile();
    for (auto _ : state) {
        CMeasure m;
        if (!readText(m, path.c_str())) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(m.blockBytes());
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond)->UseRealTime();

// Peak resident memory of reading the layout-5 file in a fresh process, as a
// multiple of the sample block: the in-place expansion keeps it near 1.
void reportPeakMemory() {
    const std::string& path = bigIntFile();
    pid_t child = fork();
    if (child == 0) {
        CMeasure m;
        readInt(m, path.c_str());
        long peakKiB = 0;
        if (FILE* f = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, f))
                if (std::sscanf(line, "VmHWM: %ld kB", &peakKiB) == 1) break;
            std::fclose(f);
        }
        std::printf("peak memory of readInt: %.1f MiB for a %.1f MiB sample block (%.3f x)\n",
                    peakKiB / 1024.0, m.sampleBytes() / 1048576.0,
                    peakKiB * 1024.0 / double(m.sampleBytes()));
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

int main(int argc, char** argv) {
    reportPeakMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

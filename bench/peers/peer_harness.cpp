// The Ondarix side of the peer benchmark (bench/peers/bench_peers.py): makes
// the shared inputs, and times one operation in this process after one
// untimed run, printing milliseconds of CPU time. File reading is timed only for the
// reading operations; the others work on samples made in memory.
#include <fftw3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "analysis/fourier.h"
#include "analysis_runs.h"
#include "aprox/aprox_test_support.h"
#include "aprox/aprox_worker.h"
#include "kalman/kalman_run.h"
#include "measure/file_io.h"
#include "measure/int_format.h"
#include "measure/statistics.h"
#include "measure/wave_format.h"
#include "peer_signal.h"

namespace {

double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// CPU time rather than wall clock: on a shared machine the wall clock also
// counts the time other processes had the core.
double millisecondsOf(const std::function<void()>& run) {
    run(); // plans, page cache, first touch of the memory
    double start = cpuMilliseconds();
    run();
    return cpuMilliseconds() - start;
}

std::vector<Sample> signalSamples(int32_t n) {
    std::vector<Sample> x(size_t(n), Sample{0.0f, 0.0f});
    for (int32_t j = 0; j < n; ++j)
        x[size_t(j)].re = peerSignal(j);
    return x;
}

// The floor of reading a file: read(2) of the whole file into one buffer.
double pageCacheRead(const char* path) {
    return millisecondsOf([&] {
        int fd = open(path, O_RDONLY);
        if (fd < 0) std::exit(1);
        off_t size = lseek(fd, 0, SEEK_END);
        std::vector<char> buffer(static_cast<size_t>(size));
        if (pread(fd, buffer.data(), buffer.size(), 0) != ssize_t(size)) std::exit(1);
        close(fd);
    });
}

double readIntTime(const char* path) {
    return millisecondsOf([&] {
        CMeasure m;
        if (!readInt(m, path)) std::exit(1);
    });
}

double readWaveTime(const char* path) {
    return millisecondsOf([&] {
        CMeasure m;
        if (!readWave(m, path)) std::exit(1);
    });
}

// The analysis's transform of the block into double bins, scaled.
double fourierTime(int32_t n) {
    std::vector<Sample> x = signalSamples(n);
    FourierParams p;
    p.source = pairRun(x.data(), 1, 0);
    p.count = n;
    FftBuffer out(n);
    return millisecondsOf([&] {
        if (!fourierTransform(p, out)) std::exit(1);
    });
}

// FFTW's own real-input plan of the same length, out of place, estimated as
// the analysis plans it: n/2 + 1 bins, no scaling.
double fftwRealTime(int32_t n) {
    double* in = fftw_alloc_real(size_t(n));
    fftw_complex* out = fftw_alloc_complex(size_t(n / 2 + 1));
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
    for (int32_t j = 0; j < n; ++j)
        in[j] = peerSignal(j);
    double ms = millisecondsOf([&] { fftw_execute(plan); });
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
    return ms;
}

double statisticsTime(int32_t n) {
    std::vector<Sample> x = signalSamples(n);
    SignalStatistics s{};
    return millisecondsOf([&] {
        s.values = &x[0].re;
        s.count = n;
        s.stride = 2;
        s.sampleRate = 50.0;
        computeStatistics(s, STAT_ALL);
    });
}

// The plain C loop the statistics are held against: three passes over an
// array of floats (extremes and mean; the deviation; the sign changes of the
// least-squares line through four values), with no crests and no periods.
double statisticsLoopTime(int32_t n) {
    std::vector<float> x(static_cast<size_t>(n));
    for (int32_t j = 0; j < n; ++j)
        x[size_t(j)] = peerSignal(j);
    volatile double sink = 0;
    return millisecondsOf([&] {
        double lo = x[0], hi = x[0], sum = 0;
        for (int32_t i = 0; i < n; ++i) {
            double v = x[size_t(i)];
            lo = v < lo ? v : lo;
            hi = v > hi ? v : hi;
            sum += v;
        }
        double mean = sum / n, squares = 0;
        for (int32_t i = 0; i < n; ++i) {
            double d = x[size_t(i)] - mean;
            squares += d * d;
        }
        int32_t crossings = 0;
        for (int32_t i = 3; i < n; ++i) {
            double a = x[size_t(i)] - mean, b = x[size_t(i - 1)] - mean,
                   c = x[size_t(i - 2)] - mean, d = x[size_t(i - 3)] - mean;
            double level = a + 2 * b + 3 * c + 4 * d, next = 4 * a + 3 * b + 2 * c + d;
            crossings += (level < 0) != (next < 0);
        }
        sink = lo + hi + std::sqrt(squares / n) + crossings;
    });
}

// `k` damped components and a level: the signal the fit is run on.
std::vector<DampedWave> fitTruth(int k) {
    std::vector<DampedWave> truth;
    for (int c = 0; c < k; ++c)
        truth.push_back(DampedWave{peerFitFrequency(c), peerFitEta(c), 1.0 / (c + 1), 0.3});
    return truth;
}

float fitSignal(const std::vector<DampedWave>& truth, int32_t j) {
    return float(waveValue(0.1, truth, j / PEER_FIT_RATE) + 0.01 * (peerSignal(j) - peerSignal(0)));
}

// The fit of `k` damped components (level, a, d, frequency and damping free)
// to `n` samples at 100 Hz, from a start a little off the truth: the same
// signal and start as the peer's and as bench_peers.py's component lists.
double aproxTime(int32_t n, int k) {
    std::vector<DampedWave> truth = fitTruth(k), start;
    for (int c = 0; c < k; ++c)
        start.push_back(
            DampedWave{peerFitFrequency(c) * 1.0001, peerFitEta(c) * 1.05, 0.9 / (c + 1), 0.27});
    FitData data(n, PEER_FIT_RATE, [&](int32_t j) { return fitSignal(truth, j); });
    data.start(start, 0.09, true, true);
    data.params->step_limit = 1e-8;
    return millisecondsOf([&] {
        data.params->cancel.store(0);
        runAprox(*data.params);
    });
}

// A Kalman run of model 3 with `k` components over the first `n` peer
// samples. The threshold 0 keeps the covariance running on every sample, as
// statsmodels' filter (tolerance 0) does on the other side.
struct KalmanRun {
    std::vector<Sample> source, result;
    KalmanParams p;

    KalmanRun(int32_t n, int k) : source(signalSamples(n)), result(size_t(n) * size_t(2 * k + 1)) {
        p.source = pairRun(source.data(), 1, 0);
        p.result_samples = result.data();
        p.count = n;
        p.sample_rate = PEER_KALMAN_RATE;
        p.component_count = k;
        for (int c = 0; c < k; ++c) {
            p.frequency[c] = peerKalmanFrequency(c);
            p.amplitude[c] = 1.0 / (c + 1);
            p.k[c] = 8.0;
        }
        p.model = 3;
        p.observation_error = 5.0;
        p.constant_period = 5.0;
        p.asymptotic = 0.0;
    }
    // Starts again from the same inputs: a run stores its estimates in p.
    void run() {
        for (int c = 0; c < p.component_count; ++c)
            p.amplitude[c] = 1.0 / (c + 1);
        p.observation_error = 5.0;
        runKalman(p, KalmanFilterKind::Block);
    }
};

double kalmanTime(int32_t n, int k) {
    KalmanRun r(n, k);
    return millisecondsOf([&] { r.run(); });
}

// The component signals of a run, one row per sample, for peer_ops.py's
// check against statsmodels.
int printKalmanSignals(int32_t n, int k) {
    KalmanRun r(n, k);
    r.run();
    for (int32_t j = 0; j < n; ++j)
        for (int c = 0; c < k; ++c)
            std::printf("%.9g%c", r.result[size_t(j) * size_t(2 * k + 1) + size_t(2 * c)].re,
                        c + 1 < k ? ' ' : '\n');
    return 0;
}

bool writeOneChannel(const std::string& path, int32_t n, double rate,
                     const std::function<float(int32_t)>& value) {
    CMeasure m;
    m.channelCount = 1;
    m.sampleCount = n;
    m.sampleRate = rate;
    describePlainChannels(m);
    if (!m.allocateSamples()) return false;
    for (int32_t i = 0; i < n; ++i)
        m.setSample(int(i % m.channelCount), i / m.channelCount, Sample{value(i), 0.0f});
    return writeInt(m, path.c_str());
}

// The shared input files: a 16-channel .INT of 2097152 float samples, a
// 10-minute 48 kHz 16-bit mono .WAV, and one-channel .INT files of the peer
// signal and of the fit signals for the whole-process runs.
int makeInputs(const std::string& dir) {
    {
        CMeasure m;
        m.channelCount = 16;
        m.sampleCount = INT_MAX_SAMPLES;
        m.sampleRate = 100.0;
        describePlainChannels(m);
        if (!m.allocateSamples()) return 1;
        for (int64_t i = 0; i < int64_t(16) * INT_MAX_SAMPLES; ++i)
            m.setSample(int(i % m.channelCount), i / m.channelCount,
                        Sample{peerSignal(int32_t(i % 1000003)), 0.0f});
        if (!writeInt(m, (dir + "/channels16.INT").c_str())) return 1;
    }
    if (!writeOneChannel(dir + "/signal.INT", INT_MAX_SAMPLES, 50.0, &peerSignal)) return 1;
    for (int k : {2, 4}) {
        std::vector<DampedWave> truth = fitTruth(k);
        std::string path = dir + "/fit" + std::to_string(k) + ".INT";
        if (!writeOneChannel(path, 100000, PEER_FIT_RATE,
                             [&](int32_t j) { return fitSignal(truth, j); }))
            return 1;
    }
    const uint32_t rate = 48000, frames = 600 * rate;
    std::vector<unsigned char> wav(44 + size_t(frames) * 2);
    unsigned char* h = wav.data();
    std::memcpy(h, "RIFF", 4);
    storeUint32(h + 4, 36 + frames * 2);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    storeUint32(h + 16, 16);
    storeInt16(h + 20, 1);
    storeInt16(h + 22, 1);
    storeUint32(h + 24, rate);
    storeUint32(h + 28, rate * 2);
    storeInt16(h + 32, 2);
    storeInt16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    storeUint32(h + 40, frames * 2);
    for (uint32_t i = 0; i < frames; ++i)
        storeInt16(h + 44 + 2 * size_t(i), int16_t(std::lround(8000.0 * peerSignal(int32_t(i)))));
    FileHandle f = FileHandle::create((dir + "/ten_minutes.WAV").c_str());
    return f.valid() && f.writeAll(wav.data(), wav.size()) && f.close() ? 0 : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: peer_harness make-inputs DIR | OPERATION ARG [ARG] | analysis NAME "
                 "N [K]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string op = argv[1];
    const char* arg = argv[2];
    if (op == "make-inputs") return makeInputs(arg);
    double ms = -1;
    if (op == "read-int")
        ms = readIntTime(arg);
    else if (op == "read-wav")
        ms = readWaveTime(arg);
    else if (op == "page-cache-read")
        ms = pageCacheRead(arg);
    else if (op == "fourier")
        ms = fourierTime(std::atoi(arg));
    else if (op == "fftw-real")
        ms = fftwRealTime(std::atoi(arg));
    else if (op == "stats")
        ms = statisticsTime(std::atoi(arg));
    else if (op == "stats-loop")
        ms = statisticsLoopTime(std::atoi(arg));
    else if (op == "kalman" && argc == 4)
        ms = kalmanTime(std::atoi(arg), std::atoi(argv[3]));
    else if (op == "kalman-signals" && argc == 4)
        return printKalmanSignals(std::atoi(arg), std::atoi(argv[3]));
    else if (op == "aprox" && argc == 4)
        ms = aproxTime(std::atoi(arg), std::atoi(argv[3]));
    else if (op == "analysis" && argc >= 4)
        ms = analysisMilliseconds(arg, std::atoi(argv[3]), argc == 5 ? std::atoi(argv[4]) : 0);
    else
        return usage();
    if (ms < 0) return usage();
    std::printf("%.3f\n", ms);
    return 0;
}

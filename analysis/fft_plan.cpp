#include "analysis/fft_plan.h"

#include <fftw3.h>
#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr size_t ALIGNMENT = 64;

// FFTW's planner and plan destruction are not thread-safe; execution with new
// arrays is. Everything but fftw_execute_dft happens under this lock.
std::mutex g_plannerLock;

struct Plan {
    fftw_plan plan = nullptr;
    ~Plan() {
        std::lock_guard<std::mutex> lock(g_plannerLock);
        if (plan) fftw_destroy_plan(plan);
    }
};

// The kind of a cached plan: a complex transform of either sign, or the
// real-input transform.
constexpr int REAL_INPUT = 0;

struct CacheEntry {
    int32_t n;
    int sign; // FFTW_FORWARD, FFTW_BACKWARD or REAL_INPUT
    std::shared_ptr<Plan> plan;
};

// Most recently used first. A plan evicted while another thread executes it
// lives on until that thread lets go of it.
std::vector<CacheEntry> g_cache;

// Long transforms are split over two threads: memory, not arithmetic, bounds
// them, and a second core halves the time from 2^18 points on. Shorter ones
// stay on the caller's thread, where starting threads would cost more. The
// thread count is part of the plan, so a length always gets the same plan.
constexpr int32_t THREADED_FROM = int32_t(1) << 18;

// Two, or one where the process may run on one core only (taskset, a
// container's CPU set), or what ONDARIX_FFT_THREADS says (1 for one thread).
// Read once: the plans made keep it.
int longTransformThreads() {
    int threads = 2;
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) < 2) threads = 1;
    if (const char* given = std::getenv("ONDARIX_FFT_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(given, &end, 10);
        if (end != given && *end == '\0' && n >= 1) threads = n >= 2 ? 2 : 1;
    }
    return threads;
}

int threadsFor(int32_t n) {
    static const bool ready = fftw_init_threads() != 0;
    static const int threads = longTransformThreads();
    if (!ready || n < THREADED_FROM) return 1;
    return threads;
}

// The cached plan of length `n` and kind `sign`, made by `make` (under the
// lock) on a miss.
template <typename Make> std::shared_ptr<Plan> acquirePlan(int32_t n, int sign, Make make) {
    std::shared_ptr<Plan> evicted; // released after the lock, its destructor locks again
    std::lock_guard<std::mutex> lock(g_plannerLock);
    auto hit = std::find_if(g_cache.begin(), g_cache.end(),
                            [&](const CacheEntry& e) { return e.n == n && e.sign == sign; });
    if (hit != g_cache.end()) {
        std::rotate(g_cache.begin(), hit, hit + 1);
        return g_cache.front().plan;
    }
    fftw_plan_with_nthreads(threadsFor(n));
    fftw_plan made = make();
    if (!made) return nullptr;
    auto plan = std::shared_ptr<Plan>(new Plan);
    plan->plan = made;
    if (g_cache.size() >= MAX_CACHED_PLANS) {
        evicted = std::move(g_cache.back().plan);
        g_cache.pop_back();
    }
    g_cache.insert(g_cache.begin(), CacheEntry{n, sign, plan});
    return plan;
}

// One freed buffer kept for the next transform of about its size: touching
// fresh memory costs more than the transform itself on some machines (a
// new 64 MiB buffer faults in 16384 pages), and a run of transforms of one
// length, as from a script, would pay it every time.
std::mutex g_spareLock;
void* g_spare = nullptr;
size_t g_spareBytes = 0;
constexpr size_t MIN_SPARE_BYTES = size_t(1) << 20;
constexpr size_t MAX_SPARE_BYTES = size_t(128) << 20;

size_t roundedBytes(size_t bytes) {
    return (bytes + ALIGNMENT - 1) / ALIGNMENT * ALIGNMENT;
}

// A block of at least `bytes`; `capacity` gets its size.
void* takeBlock(size_t bytes, size_t& capacity) {
    {
        std::lock_guard<std::mutex> lock(g_spareLock);
        if (g_spare && g_spareBytes >= bytes && g_spareBytes <= 2 * bytes) {
            capacity = g_spareBytes;
            void* block = g_spare;
            g_spare = nullptr;
            g_spareBytes = 0;
            return block;
        }
    }
    capacity = bytes;
    return std::aligned_alloc(ALIGNMENT, bytes);
}

void giveBack(void* block, size_t capacity) {
    if (capacity >= MIN_SPARE_BYTES && capacity <= MAX_SPARE_BYTES) {
        std::lock_guard<std::mutex> lock(g_spareLock);
        std::swap(block, g_spare);
        g_spareBytes = capacity;
    }
    std::free(block);
}

// Scales the lower half of the bins (conjugated for the positive sign, as
// FFTW's real-input transform uses the negative one) and fills the upper half
// with their conjugates, in one pass.
void completeRealBins(std::complex<double>* x, int32_t n, int sign, double scale, bool mirror) {
    const double imagScale = sign == FFTW_FORWARD ? scale : -scale;
    auto scaled = [&](std::complex<double> v) {
        return std::complex<double>(v.real() * scale, v.imag() * imagScale);
    };
    x[0] = scaled(x[0]);
    int32_t k = 1;
    if (mirror)
        for (; k < n - k; ++k) {
            std::complex<double> v = scaled(x[k]);
            x[k] = v;
            x[n - k] = std::conj(v);
        }
    else
        for (; k < n - k; ++k)
            x[k] = scaled(x[k]);
    if (k == n - k) x[k] = scaled(x[k]);
}

int32_t largestPrimeFactor(int32_t n) {
    int32_t largest = 1;
    for (int32_t p = 2; int64_t(p) * p <= n; ++p) {
        while (n % p == 0) {
            largest = p;
            n /= p;
        }
    }
    return n > 1 ? n : largest;
}

} // namespace

bool realDftPreferred(int32_t n) {
    return n % 2 == 0 || largestPrimeFactor(n) <= REAL_DFT_MAX_ODD_FACTOR;
}

FftBuffer::FftBuffer(int32_t n) {
    if (n < 1) return;
    data_ = static_cast<std::complex<double>*>(
        takeBlock(roundedBytes(size_t(n) * sizeof(std::complex<double>)), capacity_));
    if (data_) size_ = n;
}

FftBuffer::~FftBuffer() {
    if (data_) giveBack(data_, capacity_);
}

bool executeDft(FftBuffer& buffer, int sign) {
    if (!buffer.valid() || (sign != FFTW_FORWARD && sign != FFTW_BACKWARD)) return false;
    auto* data = reinterpret_cast<fftw_complex*>(buffer.data());
    // Estimated plans are cheap to make and do not touch the array's contents.
    std::shared_ptr<Plan> plan = acquirePlan(buffer.size(), sign, [&] {
        return fftw_plan_dft_1d(buffer.size(), data, data, sign, FFTW_ESTIMATE);
    });
    if (!plan) return false;
    fftw_execute_dft(plan->plan, data, data);
    return true;
}

double* realInput(FftBuffer& buffer) {
    return reinterpret_cast<double*>(buffer.data());
}

bool executeRealDft(FftBuffer& buffer, int sign, double scale, bool mirror) {
    if (!buffer.valid() || (sign != FFTW_FORWARD && sign != FFTW_BACKWARD)) return false;
    // In place: n doubles in, n/2 + 1 complex bins out, which fit in the n
    // complex values of the buffer for every n >= 1.
    const int32_t n = buffer.size();
    double* in = realInput(buffer);
    auto* bins = reinterpret_cast<fftw_complex*>(buffer.data());
    std::shared_ptr<Plan> plan = acquirePlan(
        n, REAL_INPUT, [&] { return fftw_plan_dft_r2c_1d(n, in, bins, FFTW_ESTIMATE); });
    if (!plan) return false;
    fftw_execute_dft_r2c(plan->plan, in, bins);
    completeRealBins(buffer.data(), n, sign, scale, mirror);
    return true;
}

size_t cachedPlanCount() {
    std::lock_guard<std::mutex> lock(g_plannerLock);
    return g_cache.size();
}

#include "analysis/fft_plan.h"

#include <fftw3.h>

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

struct CacheEntry {
    int32_t n;
    int sign;
    std::shared_ptr<Plan> plan;
};

// Most recently used first. A plan evicted while another thread executes it
// lives on until that thread lets go of it.
std::vector<CacheEntry> g_cache;

std::shared_ptr<Plan> acquirePlan(FftBuffer& buffer, int sign) {
    std::shared_ptr<Plan> evicted; // released after the lock, its destructor locks again
    std::lock_guard<std::mutex> lock(g_plannerLock);
    auto hit = std::find_if(g_cache.begin(), g_cache.end(), [&](const CacheEntry& e) {
        return e.n == buffer.size() && e.sign == sign;
    });
    if (hit != g_cache.end()) {
        std::rotate(g_cache.begin(), hit, hit + 1);
        return g_cache.front().plan;
    }
    // Estimated plans are cheap to make and do not touch the array's contents.
    auto* data = reinterpret_cast<fftw_complex*>(buffer.data());
    fftw_plan made = fftw_plan_dft_1d(buffer.size(), data, data, sign, FFTW_ESTIMATE);
    if (!made) return nullptr;
    auto plan = std::shared_ptr<Plan>(new Plan);
    plan->plan = made;
    if (g_cache.size() >= MAX_CACHED_PLANS) {
        evicted = std::move(g_cache.back().plan);
        g_cache.pop_back();
    }
    g_cache.insert(g_cache.begin(), CacheEntry{buffer.size(), sign, plan});
    return plan;
}

} // namespace

FftBuffer::FftBuffer(int32_t n) {
    if (n < 1) return;
    size_t bytes = size_t(n) * sizeof(std::complex<double>);
    bytes = (bytes + ALIGNMENT - 1) / ALIGNMENT * ALIGNMENT;
    data_ = static_cast<std::complex<double>*>(std::aligned_alloc(ALIGNMENT, bytes));
    if (data_) size_ = n;
}

FftBuffer::~FftBuffer() {
    std::free(data_);
}

bool executeDft(FftBuffer& buffer, int sign) {
    if (!buffer.valid() || (sign != FFTW_FORWARD && sign != FFTW_BACKWARD)) return false;
    std::shared_ptr<Plan> plan = acquirePlan(buffer, sign);
    if (!plan) return false;
    auto* data = reinterpret_cast<fftw_complex*>(buffer.data());
    fftw_execute_dft(plan->plan, data, data);
    return true;
}

size_t cachedPlanCount() {
    std::lock_guard<std::mutex> lock(g_plannerLock);
    return g_cache.size();
}

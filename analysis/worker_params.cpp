#include "analysis/worker_params.h"

namespace {
constexpr auto PROGRESS_INTERVAL = std::chrono::milliseconds(500);
}

WorkerProgress::WorkerProgress(WorkerParams& params)
    : params_(params), reference_(std::chrono::steady_clock::now()) {}

void WorkerProgress::publish(int32_t done) {
    params_.done.store(done, std::memory_order_release);
    auto now = std::chrono::steady_clock::now();
    if (now - reference_ > PROGRESS_INTERVAL) {
        reference_ = now;
        post(CMD_CALC_PROGRESS, done);
    }
}

void WorkerProgress::finish() {
    if (!cancelled()) post(CMD_CALC_DONE, params_.done.load(std::memory_order_acquire));
}

void WorkerProgress::post(int command, int32_t done) {
    if (params_.window) params_.window->post(command, done, params_.run);
}

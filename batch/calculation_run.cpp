#include "batch/calculation_run.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>

#include "batch/batch_command.h"

namespace {

constexpr auto LINE_INTERVAL = std::chrono::milliseconds(200);

struct Posted {
    int command;
    int32_t done;
    uint32_t run;
};

// The worker's messages, queued for this thread; posting only takes the lock
// for the push.
class QueueSink : public MessageSink {
  public:
    void post(int command, int32_t done, uint32_t run) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queue_.push_back({command, done, run});
        }
        arrived_.notify_one();
    }
    Posted take() {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait(lock, [&] { return !queue_.empty(); });
        Posted p = queue_.front();
        queue_.pop_front();
        return p;
    }
    // False when nothing arrived within `wait`.
    bool takeWithin(Posted& p, std::chrono::milliseconds wait) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!arrived_.wait_for(lock, wait, [&] { return !queue_.empty(); })) return false;
        p = queue_.front();
        queue_.pop_front();
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Posted> queue_;
};

} // namespace

bool runCalculation(CCalculation& result, const char* label) {
    QueueSink sink;
    if (!result.StartWorker(&sink)) return false;
    const bool progress = progressWanted();
    const int32_t total = result.params->count;
    bool shown = false;
    for (;;) {
        Posted p = sink.take();
        if (!result.OnWorkerMessage(p.command, p.run)) continue;
        if (p.command == CMD_CALC_DONE) break;
        if (progress) {
            std::fprintf(stderr, "\r%s: %d of %d", label, result.sampleCount, total);
            shown = true;
        }
    }
    if (shown) std::fprintf(stderr, "\r%s: %d of %d\n", label, result.sampleCount, total);
    return true;
}

bool runCalculation(CCalculation& result, ProgressLine line) {
    QueueSink sink;
    if (!result.StartWorker(&sink)) return false;
    const bool progress = progressWanted();
    bool shown = false;
    for (;;) {
        Posted p;
        if (!sink.takeWithin(p, LINE_INTERVAL)) {
            if (progress) {
                line(result);
                shown = true;
            }
            continue;
        }
        if (result.OnWorkerMessage(p.command, p.run) && p.command == CMD_CALC_DONE) break;
    }
    if (shown) std::fprintf(stderr, "\r%40s\r", "");
    return true;
}

#include "batch/calculation_run.h"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>

#include "batch/batch_command.h"

namespace {

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

// A message sink that lets a thread wait for a worker's finish: woken the
// moment it is posted, where polling would sleep on past it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "analysis/message_sink.h"

class FinishSignal : public MessageSink {
  public:
    void post(int command, int32_t, uint32_t) override {
        if (command != CMD_CALC_DONE) return;
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        arrived_.notify_all();
    }
    // True when the finish came within `limit`. A cancelled run posts none.
    bool waitFor(std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> lock(mutex_);
        return arrived_.wait_for(lock, limit, [&] { return finished_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    bool finished_ = false;
};

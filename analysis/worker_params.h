// The record a worker thread gets: what to read, where to write, and the two
// words it shares with the window side.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "analysis/message_sink.h"
#include "measure/measure.h"

// Each analysis derives its own record from this head and adds its fields.
// Everything starts at zero.
struct WorkerParams {
    virtual ~WorkerParams() = default;

    ChannelValues source; // the analysed channel's run; rows first .. first + count - 1
    Sample* result_samples = nullptr;
    int32_t channel = 0;
    int32_t first = 0;
    int32_t count = 0;
    std::atomic<int32_t> cancel{0}; // set by the window side, polled by the worker
    MessageSink* window = nullptr;
    std::atomic<int32_t> done{0}; // finished output units, published after they are stored
    uint32_t run = 0;             // tag of the messages of this run
};

// A worker body: fills the result from the record and returns 0.
using WorkerBody = int (*)(WorkerParams& params);

// The worker side of the protocol: polls `cancel`, publishes `done`, posts
// progress at most every 500 ms and the final message when not cancelled.
class WorkerProgress {
  public:
    explicit WorkerProgress(WorkerParams& params);

    bool cancelled() const { return params_.cancel.load(std::memory_order_acquire) != 0; }
    // Publishes `done` finished units (already stored) and posts progress when
    // more than 500 ms have passed since the last post.
    void publish(int32_t done);
    // Posts CMD_CALC_DONE unless the run was cancelled.
    void finish();

  private:
    void post(int command, int32_t done);

    WorkerParams& params_;
    std::chrono::steady_clock::time_point reference_;
};

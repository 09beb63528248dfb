// A minimal analysis for the tests of the result frame: it copies the block
// of the source into the result, one sample per unit, and can be held back
// unit by unit so that a test decides where a run stands.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "analysis/calculation.h"

struct CopyParams : WorkerParams {
    std::atomic<int32_t> gate{INT32_MAX}; // units the worker may produce
};

inline int CopyWorker(WorkerParams& head) {
    auto& p = static_cast<CopyParams&>(head);
    WorkerProgress progress(p);
    for (int32_t k = 0; k < p.count; ++k) {
        while (k >= p.gate.load(std::memory_order_acquire) && !progress.cancelled())
            std::this_thread::yield();
        if (progress.cancelled()) break;
        const int64_t row = int64_t(p.first) + k;
        p.result_samples[k] = Sample{p.source[row], p.source.im(row)};
        progress.publish(k + 1);
    }
    progress.finish();
    return 0;
}

class CCopy : public CCalculation {
  public:
    CCopy(CMeasure* source, const BlockRange& range) : CCalculation(source, range) {
        params = std::make_unique<CopyParams>();
    }
    CopyParams& copyParams() { return static_cast<CopyParams&>(*params); }
    void Finish() override { ++finishes; }
    int finishes = 0;
    int builds = 0;
    bool bufferUnobtainable = false; // set: Build's buffer cannot be had

  protected:
    bool Build() override {
        ++builds;
        int32_t lo = std::min(range.from, range.to);
        int32_t n = std::max(range.from, range.to) - lo;
        channelCount = 1;
        sampleCount = n;
        sampleRate = source->sampleRate;
        sampleFormat = SAMPLE_FORMAT_COMPLEX;
        if (bufferUnobtainable) {
            releaseSamples();
            setSampleBlockSource([](int64_t) -> void* { return nullptr; });
        }
        const bool obtained = allocateSamples();
        setSampleBlockSource(nullptr);
        if (!obtained) return false;
        for (int32_t k = 0; k < n; ++k)
            pairRows()[k] = Sample{-1.0f, -1.0f}; // not yet computed
        fillHead(lo, n);
        return true;
    }
    WorkerBody Body() const override { return &CopyWorker; }
};

struct Message {
    int command;
    int32_t done;
    uint32_t run;
};

// Keeps every posted message; a test waits for the one it expects.
class RecordingSink : public MessageSink {
  public:
    void post(int command, int32_t done, uint32_t run) override {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({command, done, run});
        arrived_.notify_all();
    }
    // A message that never comes (a run wrongly stopped) returns command 0
    // after a generous time instead of hanging the suite.
    Message waitFor(int command, uint32_t run) {
        std::unique_lock<std::mutex> lock(mutex_);
        Message found{};
        arrived_.wait_for(lock, std::chrono::seconds(20), [&] {
            for (const Message& m : messages_)
                if (m.command == command && m.run == run) return found = m, true;
            return false;
        });
        return found;
    }
    std::vector<Message> messages() {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }
    int count(int command) {
        int n = 0;
        for (const Message& m : messages())
            n += m.command == command;
        return n;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Message> messages_;
};

// A source of `channels` channels whose sample j of channel c is (100 c + j, -j).
inline void fillSource(CMeasure& m, int channels, int rows, double rate = 10.0) {
    m.channelCount = channels;
    m.sampleCount = rows;
    m.sampleRate = rate;
    m.allocateSamples();
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            m.setSample(c, j, Sample{float(100 * c + j), float(-j)});
}

inline void waitForDone(WorkerParams& p, int32_t done) {
    while (p.done.load(std::memory_order_acquire) < done)
        std::this_thread::yield();
}

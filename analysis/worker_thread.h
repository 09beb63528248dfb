// One worker thread with a stack of a chosen size, joined exactly once.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstddef>

#include "analysis/worker_params.h"

// Workers keep small fixed-size matrices and records on their stack; 8 MiB is
// the usual main-thread size on Linux and leaves a wide margin.
constexpr size_t WORKER_STACK_BYTES = size_t(8) << 20;

// The stack size of threads started from now on (the window side only).
void setWorkerStackBytes(size_t bytes);
size_t workerStackBytes();

class WorkerThread {
  public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread(); // joins a thread that is still running

    // Runs body(params) on a new thread. False when the thread could not be
    // created; nothing runs then.
    bool start(WorkerBody body, WorkerParams* params);
    // Waits for the thread without a time-out; does nothing when none runs.
    void join();
    // The body has returned (the thread may still be joined).
    bool ended() const { return ended_.load(std::memory_order_acquire); }

  private:
    static void* run(void* self);

    pthread_t thread_{};
    bool joinable_ = false;
    WorkerBody body_ = nullptr;
    WorkerParams* params_ = nullptr;
    std::atomic<bool> ended_{false};
};

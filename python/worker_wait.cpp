#include "python/worker_wait.h"

#include <pybind11/pybind11.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "analysis/message_sink.h"

namespace py = pybind11;

namespace {

// Wakes the waiting Python thread the moment the worker finishes, rather
// than at the next of a series of growing sleeps (which cost up to the
// run's own time again).
class FinishSignal : public MessageSink {
  public:
    void post(int command, int32_t, uint32_t) override {
        if (command != CMD_CALC_DONE) return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        arrived_.notify_all();
    }
    // True when the finish came within `limit`.
    bool waitFor(std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> lock(mutex_);
        return arrived_.wait_for(lock, limit, [&] { return finished_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    bool finished_ = false;
};

} // namespace

bool runWorker(CCalculation& result) {
    FinishSignal finish;
    if (!result.StartWorker(&finish)) return false;
    // A cancelled run posts no finish: the state is looked at too, and the
    // wait is bounded so that Ctrl+C is seen within a few milliseconds.
    bool finished = false;
    while (!finished && result.state() == CalcState::Running) {
        {
            py::gil_scoped_release released;
            finished = finish.waitFor(std::chrono::milliseconds(20));
        }
        if (PyErr_CheckSignals() != 0) {
            result.StopWorker();
            throw py::error_already_set();
        }
    }
    result.StopWorker();
    return true;
}

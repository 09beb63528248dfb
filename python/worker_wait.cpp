#include "python/worker_wait.h"

#include <pybind11/pybind11.h>

#include <chrono>

#include "analysis/finish_signal.h"

namespace py = pybind11;

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

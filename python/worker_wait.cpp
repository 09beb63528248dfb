#include "python/worker_wait.h"

#include <pybind11/pybind11.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace py = pybind11;

bool runWorker(CCalculation& result) {
    // No message sink: the state is polled, which also serves the analyses
    // that post nothing while they run.
    if (!result.StartWorker(nullptr)) return false;
    auto pause = std::chrono::microseconds(200);
    while (result.state() == CalcState::Running) {
        {
            py::gil_scoped_release released;
            std::this_thread::sleep_for(pause);
        }
        pause = std::min(pause * 2, std::chrono::microseconds(50000));
        if (PyErr_CheckSignals() != 0) {
            result.StopWorker();
            throw py::error_already_set();
        }
    }
    result.StopWorker();
    return true;
}

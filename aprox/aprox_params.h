// The record an approximation worker runs on: what to fit, where to write,
// and the fitted values it leaves behind.
#pragma once

#include <atomic>
#include <cstdint>

#include "analysis/worker_params.h"
#include "measure/measure.h"

// Unknowns of the largest system: four per component (A, D, theta, delta)
// and the level.
constexpr int APROX_MAX_UNKNOWNS = 4 * MAX_COMPONENTS + 1;

// Newton steps taken at most by one run.
constexpr int APROX_MAX_STEPS = 49;

// How a run ended, for callers that want to say why (the window does not).
enum class AproxStop : int32_t {
    None,         // not run yet, or still running
    Cancelled,    // cancel seen at the start of an iteration
    StepLimit,    // the largest step fell below step_limit
    RmsRise,      // the RMS residual rose by more than rms_rise_limit
    MaxSteps,     // 49 steps taken
    LinearFailed, // the amplitudes could not be determined; nothing was fitted
    Singular,     // a Newton system could not be solved; the last good values stay
    Invalid,      // the record itself was unusable (count, rate, start values)
};

struct AproxParams : WorkerParams {
    double sample_rate = 0.0;
    int32_t component_count = 0;
    double frequency[MAX_COMPONENTS] = {};
    double a[MAX_COMPONENTS] = {};
    double d[MAX_COMPONENTS] = {};
    double eta[MAX_COMPONENTS] = {};
    double level = 0.0;
    double step_limit = 0.0;
    double rms_rise_limit = 0.0;
    int32_t use_ad = 0;
    int32_t use_eta = 0;

    // Written by the worker for callers that report on a run; read them only
    // after the thread has ended, except `iteration`, which may be polled.
    std::atomic<int32_t> iteration{0}; // Newton steps started so far
    AproxStop stop = AproxStop::None;
    double rms = 0.0; // RMS residual of the rows last written
};

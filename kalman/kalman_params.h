// The record a Kalman worker gets: the worker head plus the run's components
// and options. The build step fills it before every run; on exit `amplitude`
// and `observation_error` hold the run's estimates.
#pragma once

#include <cstdint>

#include "analysis/worker_params.h"
#include "measure/measure.h"

struct KalmanParams : WorkerParams {
    int32_t direction = 1; // +1 forward in time, -1 backward
    double sample_rate = 0.0;
    int32_t component_count = 0;
    double frequency[MAX_COMPONENTS] = {};
    double amplitude[MAX_COMPONENTS] = {};
    double k[MAX_COMPONENTS] = {};
    double eta[MAX_COMPONENTS] = {};
    int32_t model = 0;
    int32_t estimate_error = 0;
    double observation_error = 0.0;
    double constant_period = 0.0;
    double asymptotic = 0.0;
    int32_t use_damp = 0;
};

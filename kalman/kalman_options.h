// Settings of a Kalman analysis; one process-wide copy is persisted, and every
// Kalman result carries its own.
#pragma once

#include <cstdint>

struct KalmanOptions {
    double observation_error = 5.0; // percent of the summed component variances
    int32_t use_damp = 0;           // damp each carrier with its component's eta
    int32_t model = 3;              // 0 discrete .. 3 quick twice differentiable
    int32_t estimate_error = 1;     // re-estimate the observation error after a run
    double constant_period = 5.0;   // seconds; time scale of zero-frequency components
    double asymptotic = 0.00001;    // convergence threshold of model 3
};

// The copy the dialogs edit and the next run starts from.
extern KalmanOptions globalKalmanOptions;

// Registers the Kalman options with the settings store under its stored names.
void registerKalmanSettings();

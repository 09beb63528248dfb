// Settings of an approximation; one process-wide copy is persisted, and every
// approximation result carries its own.
#pragma once

#include <cstdint>

struct AproxOptions {
    int32_t use_ad = 0;         // start from the given A, D and level
    int32_t use_eta = 0;        // fit the dampings too
    double epsilon = 0.001;     // edited and persisted; the fit does not read it
    double break_limit = 0.001; // edited and persisted; the fit does not read it
    double zero = 1e-14;        // edited and persisted; the fit does not read it
};

// The copy the dialogs edit and the next run starts from.
extern AproxOptions globalAproxOptions;

// Registers the approximation options with the settings store under its stored names.
void registerAproxSettings();

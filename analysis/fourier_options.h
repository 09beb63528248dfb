// Settings of a Fourier analysis; the frame keeps one current copy and every
// spectrum result carries its own.
#pragma once

#include <cstdint>

struct FourierOptions {
    int32_t inverse = 0;            // not persisted: compute the inverse transform
    int32_t tuned = 0;              // "FourierTunned"
    double tune_frequency = 100.0;  // Hz
    int32_t limited = 0;            // "FourierLimited"
    double limit_frequency = 500.0; // Hz
    int32_t plot_phase = 0;
    int32_t line_plot = 0;
};

// The copy the dialogs edit and the next run starts from.
extern FourierOptions globalFourierOptions;

// Registers the Fourier options with the settings store under its stored names.
void registerFourierSettings();

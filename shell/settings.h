// The process-wide settings records and their persistence in the settings key.
#pragma once

#include "analysis/fourier_options.h"
#include "aprox/aprox_options.h"
#include "generator/generator_parameters.h"
#include "kalman/kalman_options.h"
#include "shell/registry_key.h"

#include <cstdint>
#include <string>

// The key under the user's branch that holds every persisted value.
extern const char* const SETTINGS_KEY;

extern GeneratorParameters globalGeneratorParameters;
extern FourierOptions globalFourierOptions;
extern KalmanOptions globalKalmanOptions;
extern AproxOptions globalAproxOptions;

// Resets the four records to their defaults, then reads the stored values
// over them, clamping the analysis options. False when there is no store
// (the defaults stay).
bool loadSettings(const std::string& root = settingsRoot());

// Writes all 34 values of the four records, unclamped. Fails, saying why,
// when the store could not be created, locked or written; the previous store
// is then unchanged.
SaveStatus saveSettings(const std::string& root = settingsRoot());

// Show states of the frame as stored in "window_state".
constexpr int32_t SHOW_NORMAL = 1;
constexpr int32_t SHOW_MINIMIZED = 2;
constexpr int32_t SHOW_MAXIMIZED = 3;

struct WindowPlacement {
    int32_t state = SHOW_NORMAL;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Stores the frame's show state and normal (restored) rectangle; fails as
// saveSettings does.
SaveStatus saveWindowPlacement(int32_t state, int32_t left, int32_t top, int32_t right,
                               int32_t bottom, const std::string& root = settingsRoot());

// Reads the stored placement over `placement`, unclamped; fields whose value
// is missing keep what the caller put there. True when the store holds at
// least one placement value.
bool loadWindowPlacement(WindowPlacement& placement, const std::string& root = settingsRoot());

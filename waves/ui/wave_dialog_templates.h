// The run dialogs of the wave analyses: "Wave statistics", "Spectrum" and
// "Reflection". The first two name their channel and block in the run-range
// fields the other run dialogs use (IDC_RUN_CHANNEL, IDC_RUN_FROM, IDC_RUN_TO).
#pragma once

constexpr int DIALOG_WAVE_STATISTICS = 460;
constexpr int DIALOG_SPECTRUM = 461;
constexpr int DIALOG_REFLECTION = 462;

constexpr int IDC_WAVE_UP = 470;         // check box: zero-up-crossings
constexpr int IDC_WAVE_THRESHOLD = 471;  // noise band H
constexpr int IDC_WAVE_SEGMENT = 472;    // samples per segment, 0: the default
constexpr int IDC_WAVE_FMIN = 473;       // Hz, 0: from the first bin
constexpr int IDC_WAVE_FMAX = 474;       // Hz, 0: up to Nyquist
constexpr int IDC_WAVE_GAUGES = 475;     // channels "1,2,3"
constexpr int IDC_WAVE_POSITIONS = 476;  // m, "4,8,12"
constexpr int IDC_WAVE_DEPTH = 477;      // m (Reflection); the heights' unit, 0: none (Statistics)
constexpr int IDC_WAVE_DETREND = 478;    // combo box: none, mean, linear (Detrend's order)
constexpr int IDC_WAVE_SLOPE = 479;      // tan alpha of the foreshore (Statistics)
constexpr int IDC_WAVE_SEPARATION = 480; // combo box: ReflectionOutput's order (Reflection)

void registerWaveDialogTemplates();

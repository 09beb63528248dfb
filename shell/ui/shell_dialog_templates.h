// The shell's own dialogs: the About box and the three analysis option dialogs.
#pragma once

// Adds the shell's dialog templates to the registry.
void registerShellDialogTemplates();
// Adds every subsystem's dialog templates; the program and the widget tests
// call it once before the first dialog.
void registerDialogTemplates();

// "Fourier Options"
constexpr int DIALOG_FOURIER_OPTIONS = 260;
constexpr int IDC_FOURIER_TUNED = 274;
constexpr int IDC_FOURIER_TUNE_FREQUENCY = 275;
constexpr int IDC_FOURIER_LIMITED = 263;
constexpr int IDC_FOURIER_LIMIT_FREQUENCY = 264;
constexpr int IDC_FOURIER_PLOT_PHASE = 265;
constexpr int IDC_FOURIER_LINE_PLOT = 267;

// "Kalman Filter Options"
constexpr int DIALOG_KALMAN_OPTIONS = 239;
constexpr int IDC_KALMAN_MODEL = 236;
constexpr int IDC_KALMAN_ESTIMATE_ERROR = 243;
constexpr int IDC_KALMAN_OBSERVATION_ERROR = 234;
constexpr int IDC_KALMAN_CONSTANT_PERIOD = 244;
constexpr int IDC_KALMAN_ASYMPTOTIC = 245;

// "Approximation Options"
constexpr int DIALOG_APROX_OPTIONS = 457;
constexpr int IDC_APROX_EPSILON = 1054;
constexpr int IDC_APROX_BREAK = 1055;
constexpr int IDC_APROX_ZERO = 266;

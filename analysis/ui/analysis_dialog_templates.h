// The Fourier run dialog "Transformata Fouriera" and "Fourier Options".
#pragma once

constexpr int DIALOG_FOURIER = 270;
constexpr int IDC_RUN_CHANNEL = 271;
constexpr int IDC_RUN_FROM = 1050;
constexpr int IDC_RUN_TO = 244;
constexpr int IDC_FOURIER_INVERSE = 277;
constexpr int IDC_FOURIER_RUN_TUNED = 274;
constexpr int IDC_FOURIER_RUN_TUNE = 275;

// "Fourier Options"
constexpr int DIALOG_FOURIER_OPTIONS = 260;
constexpr int IDC_FOURIER_TUNED = 274;
constexpr int IDC_FOURIER_TUNE_FREQUENCY = 275;
constexpr int IDC_FOURIER_LIMITED = 263;
constexpr int IDC_FOURIER_LIMIT_FREQUENCY = 264;
constexpr int IDC_FOURIER_PLOT_PHASE = 265;
constexpr int IDC_FOURIER_LINE_PLOT = 267;

void registerAnalysisDialogTemplates();

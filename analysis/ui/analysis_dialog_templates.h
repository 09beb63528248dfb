// The Fourier run dialog "Transformata Fouriera".
#pragma once

constexpr int DIALOG_FOURIER = 270;
constexpr int IDC_RUN_CHANNEL = 271;
constexpr int IDC_RUN_FROM = 1050;
constexpr int IDC_RUN_TO = 244;
constexpr int IDC_FOURIER_INVERSE = 277;
constexpr int IDC_FOURIER_RUN_TUNED = 274;
constexpr int IDC_FOURIER_RUN_TUNE = 275;

void registerAnalysisDialogTemplates();

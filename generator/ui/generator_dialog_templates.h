// The generator's parameter dialog "Kalman Models".
#pragma once

constexpr int DIALOG_GENERATOR = 459;
constexpr int IDC_GENERATOR_MODEL = 114;
constexpr int IDC_GENERATOR_RISE = 108;
constexpr int IDC_GENERATOR_STEADY = 109;
constexpr int IDC_GENERATOR_DECAY = 110;
constexpr int IDC_GENERATOR_WAVE_LENGTH = 111;
constexpr int IDC_GENERATOR_TIME_STEP = 1056;
constexpr int IDC_GENERATOR_DEPTH = 112;
constexpr int IDC_GENERATOR_RISE_FACTOR = 113;
constexpr int IDC_GENERATOR_XA = 115;
constexpr int IDC_GENERATOR_C1 = 116;
constexpr int IDC_GENERATOR_C2 = 117;
constexpr int IDC_GENERATOR_C3 = 118;
constexpr int IDC_GENERATOR_FIO = 119;
constexpr int IDC_GENERATOR_CR = 120;
constexpr int IDC_GENERATOR_NW = 121;
constexpr int IDC_GENERATOR_COPY_ALL = 238;

void registerGeneratorDialogTemplates();

// The Kalman run dialog "Kalman Filter", its component dialog and "Kalman
// Filter Options".
#pragma once

// "Kalman Filter": the range fields and the component list are those every
// run dialog shares (run_range.h, component_list.h).
constexpr int DIALOG_KALMAN = 191;
constexpr int IDC_KALMAN_RUN_ERROR = 234;
constexpr int IDC_KALMAN_RUN_DAMP = 235;
constexpr int IDC_KALMAN_RUN_MODEL = 236;
constexpr int IDC_KALMAN_COPY_ALL = 238;

// "Channel configuration" of one Kalman component.
constexpr int DIALOG_KALMAN_COMPONENT = 453;
constexpr int IDC_KALMAN_COMPONENT_NAME = 138;
constexpr int IDC_KALMAN_COMPONENT_FREQUENCY = 205;
constexpr int IDC_KALMAN_COMPONENT_AMPLITUDE = 214;
constexpr int IDC_KALMAN_COMPONENT_K = 225;

// "Kalman Filter Options"
constexpr int DIALOG_KALMAN_OPTIONS = 239;
constexpr int IDC_KALMAN_MODEL = 236;
constexpr int IDC_KALMAN_ESTIMATE_ERROR = 243;
constexpr int IDC_KALMAN_OBSERVATION_ERROR = 234;
constexpr int IDC_KALMAN_CONSTANT_PERIOD = 244;
constexpr int IDC_KALMAN_ASYMPTOTIC = 245;

void registerKalmanDialogTemplates();

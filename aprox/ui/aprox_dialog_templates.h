// The approximation run dialog "Approximation", its component dialog and
// "Approximation Options".
#pragma once

// "Approximation": the range fields and the component list are those every
// run dialog shares (run_range.h, component_list.h).
constexpr int DIALOG_APROX = 456;
constexpr int IDC_APROX_USE_AD = 237;
constexpr int IDC_APROX_USE_ETA = 1053;
constexpr int IDC_APROX_COPY_ALL = 238;

// "Channel configuration" of one approximation component.
constexpr int DIALOG_APROX_COMPONENT = 458;
constexpr int IDC_APROX_COMPONENT_NAME = 138;
constexpr int IDC_APROX_COMPONENT_FREQUENCY = 205;
constexpr int IDC_APROX_COMPONENT_A = 1051;
constexpr int IDC_APROX_COMPONENT_D = 1052;
constexpr int IDC_APROX_COMPONENT_ETA = 113;

// "Approximation Options"
constexpr int DIALOG_APROX_OPTIONS = 457;
constexpr int IDC_APROX_EPSILON = 1054;
constexpr int IDC_APROX_BREAK = 1055;
constexpr int IDC_APROX_ZERO = 266;

void registerAproxDialogTemplates();

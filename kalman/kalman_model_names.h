// The names of the Kalman amplitude models, by model index, as the option and
// run dialogs list them.
#pragma once

constexpr int KALMAN_MODEL_COUNT = 4;
constexpr const char* KALMAN_MODEL_NAMES[KALMAN_MODEL_COUNT] = {
    "Discrete", "Once differentiable", "Twice differentiable", "Quick twice differentiable"};

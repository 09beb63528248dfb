// The stochastic wave models of the Kalman analysis: per component a carrier of
// known frequency whose in-phase and quadrature amplitudes drift as a chain of
// first-order lags. Everything here is derived once per run from KalmanParams.
#pragma once

#include <cstdint>

#include "kalman/kalman_params.h"
#include "measure/measure.h"

constexpr int KALMAN_MODEL_COUNT = 4;
constexpr int KALMAN_MAX_BLOCK = 6; // states per component, at most

struct ComponentTerms {
    double omega;    // carrier angular frequency [rad/s]
    double variance; // sigma^2 of the amplitude process
    double lambda;   // inverse correlation time [1/s]
    double x;        // lambda * dt
    double rho;      // exp(-x)
    double c, s;     // carrier step per sample, damped with use_damp
};

// Block matrices are m x m, row-major; a component's states are consecutive
// and the whole transition and process noise are block-diagonal.
struct KalmanModel {
    int32_t model = 0;
    int32_t m = 0; // states per component
    int32_t n = 0; // components
    int32_t N = 0; // states in all
    double dt = 0.0;
    double R = 0.0;           // observation-noise variance
    double varianceSum = 0.0; // sum of the components' sigma^2
    // Positions inside a block: the observed in-phase and quadrature states and
    // their companions (previous value, driving state or lower chain level).
    int32_t observedA = 0, observedB = 0, companionA = 0, companionB = 0;
    // Models 0..2 rotate the observation vector; model 3 rotates the state.
    bool rotatesObservation = false;
    ComponentTerms terms[MAX_COMPONENTS] = {};
    double F[MAX_COMPONENTS][KALMAN_MAX_BLOCK * KALMAN_MAX_BLOCK] = {};
    double P0[MAX_COMPONENTS][KALMAN_MAX_BLOCK * KALMAN_MAX_BLOCK] = {};
    double Q[MAX_COMPONENTS][KALMAN_MAX_BLOCK * KALMAN_MAX_BLOCK] = {};
};

// Why a run with these inputs could not give finite results, or null: the
// component count outside 0..10, a model outside 0..3, a sample rate, a
// frequency, k or constant period that is not positive (frequency 0 is
// allowed), a negative observation error, or any value that is not finite.
const char* kalmanInputProblem(const KalmanParams& p);

// Derives the per-component terms and block matrices. The inputs must have
// passed kalmanInputProblem.
void buildKalmanModel(const KalmanParams& p, KalmanModel& model);

struct ComponentOutput {
    double signal;
    double quadrature;
    double dsignal;     // time derivative of the signal
    double dquadrature; // time derivative of the quadrature
};

// The outputs of component k from its state block and its observation weights
// (ha, hb) at the observed positions; model 3 observes with (1, 0).
ComponentOutput componentOutput(const KalmanModel& model, int k, const double* block, double ha,
                                double hb);

// The sample loop of a Kalman run, shared by the block filter the program uses
// and the dense filter kept as its reference.
#pragma once

#include "kalman/kalman_model.h"
#include "kalman/kalman_params.h"

// One filter: predicts, corrects with one observation and reports every
// component's outputs; owns the state, the covariance and the observation vector.
class KalmanStepper {
  public:
    virtual ~KalmanStepper() = default;
    // Filters observation z; writes the model's n component outputs to `out`.
    virtual void step(double z, ComponentOutput* out) = 0;
};

enum class KalmanFilterKind {
    Block, // block-diagonal transition exploited, symmetric covariance
    Dense, // the plain N x N steps, kept as the reference
};

// A whole run: reads the source in the run's direction, writes every result
// row, follows `cancel`, publishes `done` and posts progress, then stores the
// estimates and posts CMD_CALC_DONE when not cancelled. Inputs that cannot give
// a sound run (see kalmanInputProblem; also a negative count, a channel
// outside the stride or missing sample blocks) process nothing. Without a
// processed sample `amplitude` and `observation_error` keep their values.
int runKalman(KalmanParams& p, KalmanFilterKind kind);

// The end-of-run estimates from the accumulated squares of `done` samples:
// amplitude[k] = sqrt(2 E_k / done) and, with estimate_error, the observation
// error 100 * (SS / done) / sum(sigma^2). Nothing changes for done = 0, and
// the observation error is kept when there is no component variance.
void storeKalmanEstimates(KalmanParams& p, const KalmanModel& model, const double* E, double SS,
                          int32_t done);

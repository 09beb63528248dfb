// The Kalman filter written as the plain dense N x N steps, with the matrix
// routines of the numeric library. Far slower than KalmanBlockFilter; kept as
// the reference the block filter is checked against.
#pragma once

#include "analysis/worker_params.h"
#include "kalman/kalman_filter.h"
#include "kalman/kalman_model.h"
#include "kalman/kalman_run.h"

class KalmanDenseFilter : public KalmanStepper {
  public:
    // Assembles the dense F, P0 and Q from the model's blocks and h at phase
    // 0. The model must outlive the filter.
    KalmanDenseFilter(const KalmanModel& model, double asymptotic);
    bool valid() const;
    void step(double z, ComponentOutput* out) override;
    bool converging() const { return converging_; }

  private:
    void assemble();
    void updateCovariance(double S);
    void outputs(ComponentOutput* out) const;
    void advanceCarrier();

    const KalmanModel& model_;
    const double asymptotic_;
    bool converging_ = true;
    DoubleBuffer F_, P_, Pm_, Q_, T_, x_, xm_, g_, K_, h_;
};

// A whole run with the dense filter (see runKalman); returns 0.
int KalmanDenseWorker(WorkerParams& params);

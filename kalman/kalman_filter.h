// The Kalman filter as the program runs it. The transition and the process
// noise are block-diagonal, one m x m block per component, so the covariance
// prediction F P F^T + Q is done block by block: O(N^2 m) per sample instead
// of two dense N^3 products. Only the blocks on and above the diagonal are
// computed; the rest are their mirror images, so P stays exactly symmetric.
#pragma once

#include <cstdlib>
#include <memory>

#include "analysis/worker_params.h"
#include "kalman/kalman_model.h"
#include "kalman/kalman_run.h"

struct FreeDeleter {
    void operator()(double* p) const { std::free(p); }
};
using DoubleBuffer = std::unique_ptr<double[], FreeDeleter>;

class KalmanBlockFilter : public KalmanStepper {
  public:
    // Starts from the zero state with P = P0 and the carrier at phase 0. The
    // model must outlive the filter.
    KalmanBlockFilter(const KalmanModel& model, double asymptotic);
    // False when the buffers could not be allocated.
    bool valid() const;
    void step(double z, ComponentOutput* out) override;
    // Model 3: false once the covariance has settled and the gain is frozen.
    bool converging() const { return converging_; }

  private:
    void predictState();
    template <int M> void predictCovariance();
    void mirrorBlocks(double* A);
    void computeGain();
    void updateCovariance();
    double observe(const double* v) const; // h . v
    void advanceCarrier();

    const KalmanModel& model_;
    const double asymptotic_;
    bool converging_ = true;
    DoubleBuffer P_, Pm_, x_, xm_, g_, K_;
    double ha_[MAX_COMPONENTS] = {};
    double hb_[MAX_COMPONENTS] = {};
};

// The worker body of a Kalman run (see runKalman); returns 0.
int KalmanWorker(WorkerParams& params);

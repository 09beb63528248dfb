// The Kalman filter as the program runs it. The transition and the process
// noise are block-diagonal, one m x m block per component, so the covariance
// prediction F P F^T + Q is done block by block: O(N^2 m) per sample instead
// of two dense N^3 products. The covariances are symmetric: only their blocks
// on and above the diagonal are computed and read (the diagonal blocks
// exactly symmetric), the blocks below stand for their mirror images.
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
    void compressTransition();
    void predictState();
    template <int M> void predictCovariance();
    void mirrorDiagonalBlocks(double* A);
    void addColumn(int o, double weight);
    void computeGain();
    void updateCovariance();
    double observe(const double* v) const; // h . v
    void advanceCarrier();

    const KalmanModel& model_;
    const double asymptotic_;
    bool converging_ = true;
    DoubleBuffer P_, Pm_, x_, xm_, g_, K_;
    // The nonzeros of each row of a transition block.
    struct SparseBlock {
        int count[KALMAN_MAX_BLOCK];
        int column[KALMAN_MAX_BLOCK][KALMAN_MAX_BLOCK];
        double value[KALMAN_MAX_BLOCK][KALMAN_MAX_BLOCK];
    };
    SparseBlock sparseF_[MAX_COMPONENTS] = {};
    double ha_[MAX_COMPONENTS] = {};
    double hb_[MAX_COMPONENTS] = {};
};

// The worker body of a Kalman run (see runKalman); returns 0.
int KalmanWorker(WorkerParams& params);

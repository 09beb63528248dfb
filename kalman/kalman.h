// The result of a Kalman analysis: per component its signal and quadrature
// and their derivatives, then the rest that no component explains.
#pragma once

#include "analysis/calculation.h"
#include "kalman/kalman_options.h"
#include "kalman/kalman_params.h"

class CKalman : public CCalculation {
  public:
    CKalman(CMeasure* source, const BlockRange& range, const KalmanOptions& options);

    // Why StartWorker would refuse to run with the current source, range,
    // component list and options, or null. The refusal happens before
    // anything of the result or the source changes.
    const char* RunProblem() const;

    // Carries the last run's estimates back: amplitudes (with frequency, k and
    // eta) into the analysed channel's component list, the observation error
    // into `options`. Does nothing before a run has been built.
    void Finish() override;

    KalmanParams& kalmanParams() { return static_cast<KalmanParams&>(*params); }
    const KalmanParams& kalmanParams() const { return static_cast<const KalmanParams&>(*params); }

    KalmanOptions options;

  protected:
    bool Build() override;
    WorkerBody Body() const override;

  private:
    // The run's own fields of KalmanParams (everything but the head).
    void fillRunFields(KalmanParams& p) const;
    void describeChannels(int n);

    bool built_ = false;
};

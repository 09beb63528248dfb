// The Kalman result window: component signals, their derivatives and the
// rest; the derivative channels show only their headers after a run.
#pragma once

#include "analysis/ui/result_wnd.h"
#include "kalman/kalman.h"

class CKalmanWnd : public CResultWnd {
  public:
    // A child of class "KelvoKalmanClass" titled "Kalman Analysis".
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;

    CKalman* kalman() const { return static_cast<CKalman*>(result()); }

  protected:
    const char* titleSuffix() const override { return " - Kalman Analysis"; }
    const char* runProblem() const override;
    // On the source's list of the analysed channel, this result's own options and range.
    bool runDialog() override;
    void afterRun() override;
};

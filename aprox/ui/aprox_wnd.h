// The approximation result window: one channel per fitted component and the
// rest. The worker reports no progress, so a busy bar shows while it fits.
#pragma once

#include "analysis/ui/result_wnd.h"
#include "aprox/aprox.h"

class CAproxWnd : public CResultWnd {
  public:
    // A child of the Kalman windows' class titled "Aproximation Analysis".
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;

    CAprox* aprox() const { return static_cast<CAprox*>(result()); }

  protected:
    const char* titleSuffix() const override { return " - Approximation"; }
    const char* runProblem() const override;
    bool runDialog() override;
    bool countsProgress() const override { return false; }
};

// The Fourier result window: a spectrum (Module) or an inverse transform
// (Signal), recomputed on "&Recalculate", "Add sample" and "Sub sample".
#pragma once

#include "analysis/fourier.h"
#include "analysis/ui/result_wnd.h"

class CFftWnd : public CResultWnd {
  public:
    // A child of class "KelvoFourierClass" titled "Fourier Analysis".
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;
    // "Add sample" and "Sub sample", then the result window's commands.
    intptr_t OnCommand(int id, intptr_t param) override;

    CFft* fft() const { return static_cast<CFft*>(result()); }

  protected:
    const char* titleSuffix() const override { return " - Fourier Analysis"; }
    PlotMode initialPlotMode() const override { return PLOT_MODULE; }
    bool runDialog() override;
    // Module (or the phase) for a spectrum, Signal for an inverse transform;
    // a spectrum up to its limit, as bars or a line, as its options say.
    void beforeRun() override;

  private:
    // Lengthens (+1) or shortens (-1) the analysed range and computes again.
    void changeLength(int step);
};

// Draws a channel's samples into its strip's data area by the plot mode:
// polylines of the real part, the imaginary part and the envelope, or the
// bars (or one line) of the modulus or the phase.
#pragma once

#include <cstdint>
#include <vector>

#include "measure/measure.h"
#include "view/column_reduction.h"
#include "view/pixel_surface.h"
#include "view/plot_mode.h"
#include "view/strip_scale.h"

class CurvePainter {
  public:
    // Samples s0 .. s0 + count - 1 of `m`, offset d drawn at x = round(d * p).
    CurvePainter(const CMeasure& m, int32_t s0, int32_t count, double p);

    // Every sample as its own vertex or bar instead of each pixel column's
    // first, extreme and last samples. The same pixels, slowly: the reference.
    void setOneVertexPerSample(bool on) { oneVertexPerSample_ = on; }
    // The modulus and the phase as a polyline instead of bars.
    void setLinePlot(bool on) { linePlot_ = on; }

    // Draws channel c into `area` (the data area, which clips) in `curveColour`,
    // or its bars of the modulus or the phase in `barColour`.
    void draw(PixelSurface& area, int32_t channel, PlotMode mode, const StripScale& scale,
              uint32_t curveColour, uint32_t barColour);

  private:
    enum class Quantity { Real, Imaginary, ModulePlus, ModuleMinus, Phase };

    const ColumnReduction& reduction();
    void drawCurve(PixelSurface& area, int32_t channel, Quantity q, const StripScale& scale,
                   uint32_t colour);
    void drawBars(PixelSurface& area, int32_t channel, Quantity q, const StripScale& scale,
                  uint32_t colour);
    double valueOf(int32_t channel, int32_t d, Quantity q) const;
    // The smallest and largest value of `q` among the samples of column i.
    void columnRange(size_t i, int32_t channel, Quantity q, double& low, double& high);
    void appendSample(int32_t channel, int32_t d, Quantity q, const StripScale& scale);

    const CMeasure& m_;
    int32_t s0_;
    int32_t count_;
    double p_;
    bool oneVertexPerSample_ = false;
    bool linePlot_ = false;
    bool reduced_ = false;
    ColumnReduction reduction_;
    std::vector<PixelPoint> points_;
};

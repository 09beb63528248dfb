// The curves of a wave result as its plots draw them: which channel, which
// axis titles, and a colour and dash pattern each that still tell the curves
// apart in greyscale print.
#pragma once

#include <QString>

#include <vector>

#include "view/ui/result_plot.h"
#include "waves/wave_result.h"

class CMeasure;

struct ResultPlotContent {
    PlotAxes axes;
    std::vector<PlotCurve> curves;
    std::vector<PlotBand> bands;
};

// Rows 0 .. rows - 1 of `channel`, X in the measurement's own units.
PlotCurve channelCurve(const CMeasure& m, int32_t channel, int32_t rows);

// The plots of `r` from top to bottom: height and period wave by wave and
// the exceedance for the statistics; the density with its band, or the
// incident and reflected spectra, up to `rows` for the others.
std::vector<ResultPlotContent> resultPlots(const CWaveResult& r, int32_t rows);

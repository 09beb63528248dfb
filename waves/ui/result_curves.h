// The curves of a wave result as its plots draw them: which channel, which
// axis titles, and a colour and dash pattern each that still tell the curves
// apart in greyscale print.
#pragma once

#include <QString>

#include <string>
#include <vector>

#include "view/ui/result_plot.h"
#include "waves/wave_result.h"

class CMeasure;

// Rows 0 .. rows - 1 of `channel`, X in the measurement's own units.
PlotCurve channelCurve(const CMeasure& m, int32_t channel, int32_t rows);

// The spectra of a `kind` analysis up to `rows`, S in `unit` squared per Hz:
// a Reflection's incident and reflected; otherwise the density, its 90 %
// band when channels 1 and 2 hold its bounds, and a target in channel 3.
ResultPlotContent spectraPlot(const CMeasure& curves, WaveAnalysis kind, const std::string& unit,
                              int32_t rows);
// P(H >= h) of the measured heights and of the models beside them.
ResultPlotContent exceedancePlot(const CMeasure& exceedance, const std::string& unit);

// The plots of `r` from top to bottom: height and period wave by wave and
// the exceedance for the statistics; the density with its band, or the
// incident and reflected spectra, up to `rows` for the others.
std::vector<ResultPlotContent> resultPlots(const CWaveResult& r, int32_t rows);

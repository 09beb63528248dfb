// How a wave result shows its curves: the measurement view set up for a
// spectrum (its confidence band over the density), the incident and
// reflected spectra, the waves one by one, or the exceedance plot, and
// painted at any size, so that a report draws what the window draws.
#pragma once

#include <QRect>

#include "measure/measure.h"
#include "view/view_state.h"
#include "waves/wave_result.h"

class QPainter;

// The rows a result opens on: every wave, but of a spectrum only up to
// twice the highest frequency with 1 % of the peak density.
int32_t shownRows(const CMeasure& curves, WaveAnalysis kind);

// Sets up `view` (already showing `curves`) as the result window does; the
// caller lays it out.
void showWaveCurves(MeasureViewState& view, const CMeasure& curves, WaveAnalysis kind);
// The same for the exceedance plot, whose X is the height in `unit` (kept by
// the caller while the view lives).
void showExceedanceCurves(MeasureViewState& view, const CMeasure& exceedance, const char* unit);

// Paints `curves` of a `kind` analysis into `area` of `painter`.
void paintWaveCurves(QPainter& painter, QRect area, CMeasure& curves, WaveAnalysis kind);
void paintExceedance(QPainter& painter, QRect area, CMeasure& exceedance, const char* unit);

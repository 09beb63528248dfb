// How far a wave result's curves are shown, and the result window's hidden
// measurement view set up over them (its commands read the result there).
#pragma once

#include "measure/measure.h"
#include "view/view_state.h"
#include "waves/wave_result.h"

// The rows a result opens on: every wave, but of a spectrum only up to
// twice the highest frequency with 1 % of the peak density.
int32_t shownRows(const CMeasure& curves, WaveAnalysis kind);

// Sets up `view` (already showing `curves`) as the result window does; the
// caller lays it out.
void showWaveCurves(MeasureViewState& view, const CMeasure& curves, WaveAnalysis kind);

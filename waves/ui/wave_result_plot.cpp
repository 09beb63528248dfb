#include "waves/ui/wave_result_plot.h"

#include <algorithm>

// The rows a result opens on: every wave across the whole width, however few
// there are, but of a spectrum only up to twice the highest frequency with a
// density of 1 % of the peak, where the energy of a flume record lies, rather
// than a curve squeezed against the axis.
int32_t shownRows(const CMeasure& r, WaveAnalysis kind) {
    const int32_t n = r.sampleCount;
    if (kind == WaveAnalysis::Statistics) return std::max(n, 1);
    if (n < 1) return MIN_VISIBLE_SAMPLES + 4;
    float peak = 0;
    for (int32_t j = 0; j < n; ++j)
        for (int32_t c = 0; c < r.channelCount; ++c)
            peak = std::max(peak, r.value(c, j));
    int32_t last = 0;
    for (int32_t j = 0; j < n; ++j)
        for (int32_t c = 0; c < r.channelCount; ++c)
            if (r.value(c, j) >= 0.01f * peak) last = j;
    return std::clamp(2 * (last + 1), std::min(n, MIN_VISIBLE_SAMPLES + 4), n);
}

void showWaveCurves(MeasureViewState& view, const CMeasure& curves, WaveAnalysis kind) {
    // X is frequency for the spectra, the wave's number (from 0) for the waves.
    view.x_unit = kind == WaveAnalysis::Statistics ? "" : "Hz";
    // The whole curve in view, a short one too (the view starts at 2000 rows).
    view.scroll_x = 0;
    for (int32_t c = 0; c < MAX_CHANNELS; ++c)
        view.overlay_of[c] = -1;
    if (kind == WaveAnalysis::Spectrum && curves.channelCount == 3) {
        // The confidence band drawn over the density, its own strips folded.
        view.overlay_of[1] = view.overlay_of[2] = 0;
        view.ComputeRanges();
        view.expanded[1] = view.expanded[2] = 0;
    }
    view.visible_samples = shownRows(curves, kind);
    view.channels_per_screen = std::clamp(curves.channelCount, 1, 2);
}

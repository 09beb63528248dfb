#include "view/export_layout.h"

#include <cmath>

#include "view/channel_ranges.h"

namespace {

int32_t roundToInt(double v) {
    return int32_t(std::floor(v + 0.5));
}

// The first sample the painter draws: the scroll position in samples.
int32_t firstSample(const MeasureViewState& view) {
    return view.pixels_per_sample > 0.0 ? roundToInt(view.scroll_x / view.pixels_per_sample) : 0;
}

// Content pixels above channel `c`'s header.
int64_t channelTop(const MeasureViewState& view, int32_t c) {
    int64_t top = 0;
    for (int32_t k = 0; k < c; ++k)
        top += HEADER_HEIGHT + (view.expanded[k] ? view.strip_height : 0);
    return top;
}

// The new layout's scroll_x and scroll_y for the same first sample and the
// same place in the same top channel.
void keepOrigin(const MeasureViewState& shown, MeasureViewState& out) {
    out.scroll_x = roundToInt(firstSample(shown) * out.pixels_per_sample);
    ChannelHit top = shown.ChannelAt(shown.scroll_y);
    if (top.channel < 0) {
        out.scroll_y = shown.scroll_y;
        return;
    }
    int64_t y = channelTop(out, top.channel);
    if (top.header) {
        y += shown.scroll_y - channelTop(shown, top.channel);
    } else {
        y += HEADER_HEIGHT;
        if (shown.strip_height > 0) y += int64_t(top.y) * out.strip_height / shown.strip_height;
    }
    out.scroll_y = int32_t(y);
}

} // namespace

MeasureViewState exportLayout(const MeasureViewState& shown, int32_t width, int32_t height) {
    MeasureViewState out = shown;
    out.Layout(width, height);
    keepOrigin(shown, out);
    // Layout clamps the scroll position into the new content.
    out.Layout(width, height);
    return out;
}

MeasureViewState rangeLayout(CMeasure& m, int32_t from, int32_t to, int32_t width, int32_t height) {
    MeasureViewState out;
    out.measure = &m;
    out.Rescan();
    out.channels_per_screen = out.channelCount() > 0 ? out.channelCount() : 1;
    out.visible_samples = to - from > 0 ? to - from : 1;
    out.Layout(width, height);
    out.scroll_x = roundToInt(from * out.pixels_per_sample);
    out.Layout(width, height);
    return out;
}

void scaleAsIn(const CMeasure& full, const std::vector<int32_t>& channels, MeasureViewState& view) {
    MeasureViewState window;
    window.measure = const_cast<CMeasure*>(&full);
    window.ComputeRanges();
    for (size_t k = 0; k < channels.size() && k < size_t(MAX_CHANNELS); ++k) {
        const int32_t c = channels[k];
        if (c < 0 || c >= MAX_CHANNELS) continue;
        view.range_min[k] = window.range_min[c];
        view.range_max[k] = window.range_max[c];
        view.range_mod[k] = window.range_mod[c];
    }
}

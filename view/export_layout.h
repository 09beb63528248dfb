// The view laid out again for a picture of another size: the same samples
// and channels as the screen shows, with more (or fewer) pixels for them.
#pragma once

#include <cstdint>
#include <vector>

#include "view/view_state.h"

// `shown` fitted to width x height: the same first sample, time span,
// channels per screen and first channel on top; the block and plot mode kept.
MeasureViewState exportLayout(const MeasureViewState& shown, int32_t width, int32_t height);

// Every channel of `m` stacked in width x height, showing samples from .. to
// (to > from; as the view does, the start falls on a whole pixel).
MeasureViewState rangeLayout(CMeasure& m, int32_t from, int32_t to, int32_t width, int32_t height);

// Scales `view`, whose channel k is channel channels[k] of `full`, as a window
// on `full` scales it: channels of one unit share the range of all of them.
void scaleAsIn(const CMeasure& full, const std::vector<int32_t>& channels, MeasureViewState& view);

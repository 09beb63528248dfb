// What the view shows beside the pointer: the time (or frequency) under it
// and each shown channel's value there, with units.
#pragma once

#include <string>
#include <vector>

#include "view/view_state.h"

// The first line is "t = %.4f s" ("f = ... Hz" for a spectrum), then one line
// "name: %.4f unit" per expanded channel, from the real part of the sample
// at content x. Empty outside the samples.
std::vector<std::string> PointerReadoutLines(const MeasureViewState& view, int32_t contentX);

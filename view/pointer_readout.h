// What the view shows beside the pointer: the time (or frequency) under it
// and each shown channel's value there, with units.
#pragma once

#include <string>
#include <vector>

#include "view/view_state.h"

// The first line is "t = %.4f s" ("f = ... Hz" for a spectrum), then one line
// per expanded channel with the sample at content x as the plot mode draws
// it: "name: %.4f unit" for one quantity (the real part, the imaginary part,
// the modulus, or the phase in rad), "name: re %.4f  im %.4f  |z| %.4f unit"
// for the ones a mode of several curves draws. Empty outside the samples.
std::vector<std::string> PointerReadoutLines(const MeasureViewState& view, int32_t contentX);

// The view's status-bar texts, in the "C" locale's number format.
#pragma once

#include <cstdint>
#include <string>

#include "measure/measure.h"
#include "view/view_state.h"

// "ch=%d  x=%6.4f  y=%6.4f": the pointer readout of status part 1, each
// number followed by its unit when one is given ("s" or "Hz"; the channel's).
std::string PointerReadoutText(int32_t channel, const ValuePoint& value, const char* xUnit = "",
                               const char* yUnit = "");

// Status part 2: "%d: %d (%6.4f)" for an empty block (channel, the end edge
// and its time), otherwise "%d: %d-%d (%6.4f, %6.4f)" with both edges, the
// duration d = (to - from) / rate and 1/d; both are negative when the end
// edge lies left of the begin edge.
std::string BlockInfoText(const BlockRange& block, double rate);

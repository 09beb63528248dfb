// A new coefficient and constant applied to the values a channel holds in
// memory, whatever file they came from: the values are taken as
// coefficient * raw + constant of the channel's present description, turned
// back to raw values and scaled with the new pair, which then describes them.
#pragma once

#include <string>

#include "measure/measure.h"

// Whether the channel's values carry a scale other than 1 and 0, which a
// format without a place for it must say it wrote.
bool channelIsScaled(const ChannelInfo& info);

// "value = 0.05 * raw + 0" ("- 0.3" for a negative constant), each number the
// shortest text that reads back the same, in the "C" locale.
std::string calibrationText(const ChannelInfo& info);

// Why `channel` of `m` cannot take the pair, or null: a channel outside `m`,
// a pair that is not finite, a new coefficient of 0 (the values would be
// lost) or a present one of 0 (the raw values cannot be recovered).
const char* calibrationRefusal(const CMeasure& m, int channel, double coefficient, double constant);

// The .INT sample layout the measurement's values were read from, or -1 when
// its path names no .INT file.
int measureIntLayout(const CMeasure& m);

// Rescales the values of `channel` and stores the pair in its description.
// `layout` is the .INT sample layout the values were read from (whose codes 0
// and 2 apply no constant), or -1 for any other source. False with `*error`
// set, nothing changed, when calibrationRefusal gives a reason.
bool applyChannelCalibration(CMeasure& m, int channel, double coefficient, double constant,
                             int layout, std::string* error);

// Choosing channels of a measurement for a command that shows several.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measure/measure.h"

// "0,2,3" as channel numbers; false (and `channels` unchanged) for anything
// but comma-separated whole numbers.
bool parseChannelList(const std::string& text, std::vector<int32_t>& channels);

// `to` becomes `from` with only `channels`, in that order, and all its
// samples. False (with the reason in `why`) for a channel `from` lacks or
// when the samples cannot be held.
bool selectChannels(const CMeasure& from, const std::vector<int32_t>& channels, CMeasure& to,
                    std::string& why);

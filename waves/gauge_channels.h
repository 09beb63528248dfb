// The gauges of one reflection run are different channels: the same channel
// twice is one gauge at two positions, which would separate nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "channel C is named twice" for the first channel listed more than once, or
// empty when they are all different.
std::string repeatedChannelRefusal(const std::vector<int32_t>& channels);

// The block an analysis runs on: a channel and a range of rows, refused with
// the same one-line reasons ondarix-batch gives.
#pragma once

#include <vector>

#include "measure/measure.h"

// Throws ValueError when the channel does not exist or a bound lies outside
// 0 .. the sample count.
BlockRange checkedBlock(const CMeasure& m, int channel, int from, int to);

// Throws ValueError, with nonFiniteRefusal's reason, when the rows from..to of
// `channels` hold a value that is not finite.
void checkFinite(const CMeasure& m, const std::vector<int32_t>& channels, int from, int to,
                 bool imaginary = false);
void checkFinite(const CMeasure& m, const BlockRange& range, bool imaginary = false);

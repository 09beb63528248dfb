// The block an analysis runs on: a channel and a range of rows, refused with
// the same one-line reasons ondarix-batch gives.
#pragma once

#include "measure/measure.h"

// Throws ValueError when the channel does not exist or a bound lies outside
// 0 .. the sample count.
BlockRange checkedBlock(const CMeasure& m, int channel, int from, int to);

// The values of one channel's block as doubles, in increasing row order,
// whichever way the block runs.
#pragma once

#include <vector>

#include "measure/measure.h"

struct BlockValues {
    std::vector<double> values;
    double sampleRate = 0; // Hz
    double startTime = 0;  // seconds of the first value from the measurement's start
};

// False, leaving `out` untouched, when the channel does not exist or the
// clamped block holds no sample.
bool blockValues(const CMeasure& m, const BlockRange& block, BlockValues& out);

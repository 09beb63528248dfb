// The readers keep NaN and infinity as they find them in a file; an analysis
// of a block holding one would only spread it, so the analyses refuse such a
// block and name where the first bad value is.
#pragma once

#include <string>
#include <vector>

#include "measure/measure.h"

// A value of a block that is not a finite number; row -1 when there is none.
struct NonFiniteValue {
    int32_t row = -1;
    int32_t channel = -1;
};

// The first row of from..to (clamped to the measurement, walked upwards)
// where one of `channels` holds a value that is not finite, with the first
// such channel of that row in the order given. Real parts only, unless
// `imaginary` is set. Channels the measurement lacks are skipped.
NonFiniteValue firstNonFinite(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                              int32_t to, bool imaginary = false);

// The refusal of a block: "row R of channel C is not a finite number", or
// empty when every value is finite.
std::string nonFiniteRefusal(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                             int32_t to, bool imaginary = false);
std::string nonFiniteRefusal(const CMeasure& m, const BlockRange& block, bool imaginary = false);
// The refusal naming `bad`; empty when its row is -1.
std::string nonFiniteRefusal(const NonFiniteValue& bad);

// Whole repeat periods of a generated sea in a measured block. The drive is
// a sum of components at k / period, so a transform over whole periods puts
// each component on a bin of its own: no window leakage, no Welch scatter.
#pragma once

#include <cstddef>
#include <cstdint>

struct RepeatWindow {
    int64_t first = 0;   // the window's first value in the block
    int64_t count = 0;   // values in the window; 0 when the block holds no whole period
    int32_t periods = 0; // whole periods in the window
};

// As many whole periods of `period` seconds as a block of `length` values at
// `rate` Hz holds, starting `startUp` seconds in (the paddle's ramp-up) where
// the block leaves room for them there, otherwise as late as it allows.
RepeatWindow repeatWindow(size_t length, double rate, double period, double startUp);

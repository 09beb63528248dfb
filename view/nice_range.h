// Axis ranges widened to whole steps of 1, 2 or 5 times a power of ten.
#pragma once

struct AxisRange {
    double lo;
    double hi;
    double step;
};

// lo' = step * floor(lo / step) and hi' = step * (floor(hi / step) + 1), with
// the step chosen from the width hi - lo. An empty or reversed interval (a
// flat signal) is first opened around its value, and one that is not finite
// becomes -1 .. 1, so the result always has hi' > lo' and a positive step.
AxisRange NiceRange(double lo, double hi);

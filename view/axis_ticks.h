// The grid lines of a strip and their labels: each line sits on the value its
// label names, and a label prints as many decimals as the step needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view/nice_range.h"
#include "view/strip_scale.h"

struct AxisTick {
    int32_t pixel; // x of a time line, y of a value line
    double value;
    std::string label;
};

// Decimals that tell steps of `step` apart: two at least, more for finer steps.
int tickDecimals(double step);
std::string tickLabel(double value, double step);

// Time lines at whole steps of the axis over the samples shown, from sample
// s0 at x = 0: each at its own time, not at the nearest sample.
std::vector<AxisTick> timeTicks(int32_t s0, int32_t visibleSamples, double rate,
                                double pixelsPerSample);
// Value lines lo' + step .. hi' - step of `axis`, placed by `scale`.
std::vector<AxisTick> valueTicks(const AxisRange& axis, const StripScale& scale);

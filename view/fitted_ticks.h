// Ticks of a result plot's axis whose labels fit: the finest step of 1, 2 or
// 5 times a power of ten whose labels, measured in the window's font, leave
// a gap between neighbours. The measurement windows keep their own grid
// (axis_ticks.h); this one is for plots whose axis titles carry the unit.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct FittedTick {
    double value;
    int pixel; // from the axis's start: x rightwards, y upwards
    std::string label;
};

enum class TickFormat {
    Decimal, // as many decimals as the step needs, none for whole steps
    Count,   // whole numbers only: the step is 1 at least
    Power    // the values are log10 of the numbers shown: whole exponents, printed as 10^k is
};

struct TickAxis {
    double lo = 0, hi = 1; // values at the axis's two ends
    int length = 0;        // pixels from lo to hi
    TickFormat format = TickFormat::Decimal;
};

// Pixels a label takes along the axis: its width on a horizontal axis, the
// font's height on a vertical one.
using LabelExtent = std::function<int(const std::string&)>;

// Pixels left free between two neighbouring labels.
constexpr int TICK_LABEL_GAP = 6;

// The label of `value` on an axis of step `step`, "C" locale.
std::string fittedTickLabel(double value, double step, TickFormat format);
// Ticks lo .. hi at the finest step whose labels fit without touching, none
// when not even two labels fit or the axis is broken (not finite, lo >= hi).
std::vector<FittedTick> fittedTicks(const TickAxis& axis, const LabelExtent& extent);

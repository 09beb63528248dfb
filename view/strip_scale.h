// The vertical pixel scale of one strip's data area.
#pragma once

#include <cmath>
#include <cstdint>

#include "view/nice_range.h"

struct StripScale {
    // `dataHeight` pixels show lo' .. hi' of `axis`; a value v lies at
    // Y(v) = dataHeight - round((v - lo') * k) with k = dataHeight / (hi' - lo').
    StripScale(const AxisRange& axis, int32_t dataHeight)
        : lo(axis.lo), k(double(dataHeight) / (axis.hi - axis.lo)), dataHeight(dataHeight) {}

    int32_t Y(double v) const {
        // Far outside the strip a pixel row only has to stay far outside and
        // fit an int; NaN goes to the bottom limit rather than to undefined.
        constexpr double LIMIT = double(1 << 24);
        double t = (v - lo) * k;
        if (!(t > -LIMIT)) t = -LIMIT;
        if (t > LIMIT) t = LIMIT;
        return dataHeight - int32_t(std::floor(t + 0.5));
    }

    double lo;
    double k;
    int32_t dataHeight;
};

#include "sea/sea_ramp.h"

#include <algorithm>
#include <cmath>

#include "numeric/constants.h"

void SeaRamp::at(int64_t n, double& weight, double& slope) const {
    const double fromStart = (double(n) + 0.5) * dt;
    const double fromEnd = (double(count - n) - 0.5) * dt;
    const double t = std::min(fromStart, fromEnd);
    if (!(t < seconds)) {
        weight = 1;
        slope = 0;
        return;
    }
    weight = 0.5 * (1 - std::cos(PI * t / seconds));
    const double rate = 0.5 * PI / seconds * std::sin(PI * t / seconds);
    slope = fromStart <= fromEnd ? rate : -rate;
}

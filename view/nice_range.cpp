#include "view/nice_range.h"

#include <cmath>

namespace {

// A flat signal still needs an axis: a tenth of its value on either side,
// or one unit around zero.
void openFlatInterval(double& lo, double& hi) {
    double centre = lo;
    double half = centre == 0.0 ? 1.0 : std::fabs(centre) * 0.1;
    lo = centre - half;
    hi = centre + half;
}

} // namespace

AxisRange NiceRange(double lo, double hi) {
    if (std::isfinite(lo) && !(hi > lo)) openFlatInterval(lo, hi);
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(hi - lo) || !(hi > lo)) {
        lo = -1.0;
        hi = 1.0;
    }
    double d = hi - lo;
    double a = std::pow(10.0, std::floor(std::log10(d)));
    double r = d / a;
    double divisor = r < 2.0 ? 5.0 : (r < 4.0 ? 2.0 : 1.0);
    double step = a / divisor;
    AxisRange range;
    range.step = step;
    range.lo = step * std::floor(lo / step);
    range.hi = step * (std::floor(hi / step) + 1.0);
    return range;
}

#include "view/axis_ticks.h"

#include <cmath>
#include <cstdio>

namespace {

// A grid never needs more lines than this; it only bounds a broken axis.
constexpr int64_t MAX_GRID_LINES = 1000;

int32_t roundToInt(double v) {
    constexpr double LIMIT = double(1 << 24);
    if (!(v > -LIMIT)) return -(1 << 24);
    if (v > LIMIT) return 1 << 24;
    return int32_t(std::floor(v + 0.5));
}

} // namespace

int tickDecimals(double step) {
    if (!(step > 0.0) || !std::isfinite(step)) return 2;
    // Steps are 1, 2 or 5 times a power of ten: the power's digit is the last.
    int decimals = int(-std::floor(std::log10(step) + 1e-9));
    return decimals < 2 ? 2 : (decimals > 15 ? 15 : decimals);
}

std::string tickLabel(double value, double step) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", tickDecimals(step), value);
    return text;
}

std::vector<AxisTick> timeTicks(int32_t s0, int32_t visibleSamples, double rate,
                                double pixelsPerSample) {
    std::vector<AxisTick> ticks;
    if (!(rate > 0.0) || !std::isfinite(rate)) return ticks;
    double x0 = s0 / rate;
    AxisRange axis = NiceRange(x0, x0 + visibleSamples / rate);
    int64_t first = std::llround(axis.lo / axis.step);
    int64_t last = std::llround(axis.hi / axis.step);
    if (last - first > MAX_GRID_LINES) last = first + MAX_GRID_LINES;
    for (int64_t k = first + 1; k <= last; ++k) {
        double X = double(k) * axis.step;
        ticks.push_back(
            {roundToInt((X * rate - s0) * pixelsPerSample), X, tickLabel(X, axis.step)});
    }
    return ticks;
}

std::vector<AxisTick> valueTicks(const AxisRange& axis, const StripScale& scale) {
    std::vector<AxisTick> ticks;
    int64_t first = std::llround(axis.lo / axis.step);
    int64_t last = std::llround(axis.hi / axis.step);
    if (last - first > MAX_GRID_LINES) last = first + MAX_GRID_LINES;
    for (int64_t k = first + 1; k <= last - 1; ++k) {
        double v = double(k) * axis.step;
        ticks.push_back({scale.Y(v), v, tickLabel(v, axis.step)});
    }
    return ticks;
}

#include "view/fitted_ticks.h"

#include <cmath>
#include <cstdio>

namespace {

// Steps 1, 2, 5 times powers of ten, from the k-th: k = 3p + i.
double stepOf(int k) {
    static const double MANTISSA[3] = {1.0, 2.0, 5.0};
    const int power = k >= 0 ? k / 3 : -((-k + 2) / 3);
    return MANTISSA[k - 3 * power] * std::pow(10.0, power);
}

// The first k whose step gives no more than one line every 4 pixels.
int finestStepIndex(double span, int length, TickFormat format) {
    const double finest = span / std::max(1, length / 4);
    int k = int(std::floor(std::log10(finest))) * 3 - 3;
    while (stepOf(k) < finest)
        ++k;
    if (format != TickFormat::Decimal)
        while (stepOf(k) < 1.0)
            ++k;
    return k;
}

std::vector<FittedTick> ticksAt(const TickAxis& axis, double step) {
    std::vector<FittedTick> ticks;
    const double span = axis.hi - axis.lo;
    const double first = std::ceil(axis.lo / step - 1e-9);
    const double last = std::floor(axis.hi / step + 1e-9);
    for (double k = first; k <= last && ticks.size() < 1000; k += 1.0) {
        double value = k * step;
        if (std::fabs(value) < step * 1e-9) value = 0.0; // no "-0"
        const int pixel = int(std::lround((value - axis.lo) / span * axis.length));
        ticks.push_back({value, pixel, fittedTickLabel(value, step, axis.format)});
    }
    return ticks;
}

bool labelsFit(const std::vector<FittedTick>& ticks, const LabelExtent& extent) {
    for (size_t i = 1; i < ticks.size(); ++i) {
        const int room = ticks[i].pixel - ticks[i - 1].pixel;
        // Labels are centred on their ticks: half of each faces the other.
        const int need = (extent(ticks[i - 1].label) + extent(ticks[i].label) + 1) / 2;
        if (room < need + TICK_LABEL_GAP) return false;
    }
    return true;
}

} // namespace

std::string fittedTickLabel(double value, double step, TickFormat format) {
    char text[64];
    if (format == TickFormat::Power)
        std::snprintf(text, sizeof text, "%g", std::pow(10.0, value));
    else if (format == TickFormat::Count || step >= 1.0)
        std::snprintf(text, sizeof text, "%.0f", value);
    else {
        // 0.5 and 0.2 need one decimal, 0.05 two: the step's own last digit.
        const int decimals = std::min(15, int(std::ceil(-std::log10(step) - 1e-9)));
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
    }
    return text;
}

std::vector<FittedTick> fittedTicks(const TickAxis& axis, const LabelExtent& extent) {
    const double span = axis.hi - axis.lo;
    if (!std::isfinite(axis.lo) || !std::isfinite(axis.hi) || !(span > 0) || !std::isfinite(span) ||
        axis.length < 2)
        return {};
    for (int k = finestStepIndex(span, axis.length, axis.format), tries = 0; tries < 60;
         ++k, ++tries) {
        std::vector<FittedTick> ticks = ticksAt(axis, stepOf(k));
        if (ticks.size() < 2) return {};
        if (labelsFit(ticks, extent)) return ticks;
    }
    return {};
}

#include "sea/repeat_window.h"

#include <algorithm>
#include <cmath>

RepeatWindow repeatWindow(size_t length, double rate, double period, double startUp) {
    RepeatWindow w;
    const double perPeriod = period * rate;
    if (!(perPeriod >= 1) || !std::isfinite(perPeriod)) return w;
    // A record at the drive's own rate holds a period in a whole number of
    // values; the tolerance only absorbs the rounding of period * rate.
    const double whole = std::floor(double(length) / perPeriod + 1e-9);
    if (whole < 1) return w;
    w.periods = int32_t(std::min(whole, 1e6));
    w.count = std::min(int64_t(length), int64_t(std::llround(w.periods * perPeriod)));
    const int64_t room = int64_t(length) - w.count;
    const int64_t wanted = startUp > 0 ? int64_t(std::llround(startUp * rate)) : 0;
    w.first = std::clamp<int64_t>(wanted, 0, room);
    return w;
}

#include "measure/gauge_calibration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double STEADY_SHARE = 0.02; // of a step between levels

// The moving standard deviation over `window` samples centred on each (cut
// at the ends), from running sums about the record's mean.
std::vector<double> movingDeviation(const std::vector<double>& x, size_t window) {
    const size_t n = x.size();
    double mean = 0;
    for (double v : x)
        mean += v / double(n);
    std::vector<double> sum(n + 1, 0), square(n + 1, 0);
    for (size_t i = 0; i < n; ++i) {
        const double d = x[i] - mean;
        sum[i + 1] = sum[i] + d;
        square[i + 1] = square[i] + d * d;
    }
    std::vector<double> out(n);
    const size_t half = window / 2;
    for (size_t i = 0; i < n; ++i) {
        const size_t a = i >= half ? i - half : 0, b = std::min(n, i + half + 1);
        const double count = double(b - a), m = (sum[b] - sum[a]) / count;
        out[i] = std::sqrt(std::max(0.0, (square[b] - square[a]) / count - m * m));
    }
    return out;
}

double meanOf(const std::vector<double>& x, int32_t from, int32_t to) {
    double s = 0;
    for (int32_t i = from; i < to; ++i)
        s += x[size_t(i)];
    return s / double(to - from);
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

std::string number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

bool windowStretches(const std::vector<double>& raw, double rate,
                     const std::vector<double>& windows, std::vector<SteadyStretch>& out,
                     std::string* error) {
    for (size_t i = 0; i + 1 < windows.size(); i += 2) {
        const double a = windows[i] * rate, b = windows[i + 1] * rate;
        if (!(a >= 0 && b > a && b <= double(raw.size()) + 0.5))
            return fail(error, "the window " + number(windows[i]) + ":" + number(windows[i + 1]) +
                                   " s is not a forward stretch inside the record");
        SteadyStretch s;
        s.from = int32_t(std::lround(a));
        s.to = std::max(s.from + 1, int32_t(std::min(std::lround(b), long(raw.size()))));
        s.mean = meanOf(raw, s.from, s.to);
        out.push_back(s);
    }
    return true;
}

} // namespace

std::vector<SteadyStretch> findSteadyStretches(const std::vector<double>& raw, double rate,
                                               int levels, double minSeconds) {
    std::vector<SteadyStretch> found;
    if (raw.empty() || !(rate > 0) || levels < 2) return found;
    const auto [lo, hi] = std::minmax_element(raw.begin(), raw.end());
    const double limit = STEADY_SHARE * (*hi - *lo) / (levels - 1);
    const size_t window = std::max<size_t>(5, size_t(std::lround(rate)));
    const std::vector<double> deviation = movingDeviation(raw, window);
    const int32_t n = int32_t(raw.size());
    std::vector<SteadyStretch> runs;
    for (int32_t i = 0; i < n;) {
        if (!(deviation[size_t(i)] < limit)) {
            ++i;
            continue;
        }
        SteadyStretch s;
        s.from = i;
        while (i < n && deviation[size_t(i)] < limit)
            ++i;
        s.to = i;
        s.mean = meanOf(raw, s.from, s.to);
        // A level split by a disturbance goes on where it left off.
        if (!runs.empty() && std::fabs(runs.back().mean - s.mean) < limit) {
            runs.back().to = s.to;
            runs.back().mean = meanOf(raw, runs.back().from, s.to);
        } else {
            runs.push_back(s);
        }
    }
    const int32_t cut = int32_t(window / 2);
    const int32_t shortest = std::max<int32_t>(1, int32_t(std::lround(minSeconds * rate)));
    for (SteadyStretch s : runs) {
        s.from = s.from > 0 ? s.from + cut : s.from;
        s.to = s.to < n ? s.to - cut : s.to;
        if (s.to - s.from < shortest) continue;
        s.mean = meanOf(raw, s.from, s.to);
        found.push_back(s);
    }
    return found;
}

bool calibrateGauge(const std::vector<double>& raw, double rate, const CalibrationOptions& options,
                    GaugeCalibration& out, std::string* error) {
    const std::vector<double>& levels = options.levels;
    const size_t count = levels.size();
    if (count < 2) return fail(error, "a calibration needs at least two levels");
    for (size_t i = 0; i < count; ++i)
        if (!std::isfinite(levels[i]))
            return fail(error, "level " + std::to_string(i + 1) + " is not a finite number");
    if (!(rate > 0)) return fail(error, "the sample rate is not positive");
    if (options.windows.size() % 2 != 0) return fail(error, "a window needs a start and an end");
    GaugeCalibration c;
    if (options.windows.empty())
        c.stretches = findSteadyStretches(raw, rate, int(count));
    else if (!windowStretches(raw, rate, options.windows, c.stretches, error))
        return false;
    if (c.stretches.size() != count)
        return fail(error, (options.windows.empty() ? "found " : "the windows name ") +
                               std::to_string(c.stretches.size()) + " steady stretches for " +
                               std::to_string(count) + " levels");
    double mx = 0, my = 0;
    for (size_t i = 0; i < count; ++i) {
        mx += c.stretches[i].mean / double(count);
        my += levels[i] / double(count);
    }
    double sxx = 0, sxy = 0, syy = 0;
    for (size_t i = 0; i < count; ++i) {
        const double dx = c.stretches[i].mean - mx, dy = levels[i] - my;
        sxx += dx * dx;
        sxy += dx * dy;
        syy += dy * dy;
    }
    if (!(syy > 0)) return fail(error, "the levels are all the same");
    if (!(sxx > 0)) return fail(error, "the gauge read the same at every level");
    c.coefficient = sxy / sxx;
    c.constant = my - c.coefficient * mx;
    double residualSquares = 0;
    for (size_t i = 0; i < count; ++i) {
        const double r = levels[i] - (c.coefficient * c.stretches[i].mean + c.constant);
        c.residuals.push_back(r);
        residualSquares += r * r;
        c.largestResidual = std::max(c.largestResidual, std::fabs(r));
    }
    c.r2 = 1 - residualSquares / syy;
    // Levels near the largest double overflow the sums: no fit to write anywhere.
    if (!std::isfinite(c.coefficient) || !std::isfinite(c.constant) || !std::isfinite(c.r2) ||
        !std::isfinite(c.largestResidual))
        return fail(error, "the fit is not a finite number: the levels are too large");
    out = c;
    if (c.r2 < MIN_CALIBRATION_R2 && !options.force)
        return fail(error, "the fit's r^2 is " + number(c.r2) +
                               ", below 0.99: a level or a stretch is wrong (--force takes it)");
    return true;
}

std::vector<std::string> calibrationLines(const GaugeCalibration& c,
                                          const std::vector<double>& levels) {
    std::vector<std::string> lines{"Coefficient\t" + number(c.coefficient),
                                   "Constant\t" + number(c.constant), "r^2\t" + number(c.r2),
                                   "Largest residual\t" + number(c.largestResidual)};
    for (size_t i = 0; i < c.stretches.size() && i < levels.size(); ++i)
        lines.push_back("Level " + number(levels[i]) + "\traw " + number(c.stretches[i].mean) +
                        " rows " + std::to_string(c.stretches[i].from) + ".." +
                        std::to_string(c.stretches[i].to - 1) + " residual " +
                        number(c.residuals[i]));
    return lines;
}

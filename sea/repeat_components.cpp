#include "sea/repeat_components.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/fft_plan.h"

namespace {

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

// |X_j|^2 of the half amplitudes of x[0 .. n), bins 0 .. n/2.
bool binPowers(const double* x, int64_t n, std::vector<double>& power, std::string* error) {
    if (n < 2 || n > std::numeric_limits<int32_t>::max())
        return fail(error, "the measured periods are too long for one transform");
    FftBuffer z{int32_t(n)};
    if (!z.valid()) return fail(error, "out of memory for the measured periods' transform");
    for (int32_t i = 0; i < int32_t(n); ++i)
        z[i] = x[i];
    if (!executeDft(z, -1))
        return fail(error, "the measured periods' transform could not be planned");
    power.resize(size_t(n / 2 + 1));
    for (size_t j = 0; j < power.size(); ++j)
        power[j] = std::norm(z[int32_t(j)] / double(n));
    return true;
}

// The mean of exponentially distributed bin powers from their median, which
// the sea's harmonics and a seiche in a few bins cannot move.
double noiseFloor(std::vector<double> others) {
    if (others.empty()) return 0;
    auto middle = others.begin() + int64_t(others.size() / 2);
    std::nth_element(others.begin(), middle, others.end());
    return *middle / std::log(2.0);
}

} // namespace

bool repeatComponents(const std::vector<double>& values, const RepeatWindow& w,
                      const TargetSpectrum& target, RepeatComponents& out, std::string* error) {
    if (w.periods < 1 || w.count < 2 || w.first < 0 || size_t(w.first + w.count) > values.size())
        return fail(error, "the record holds no whole repeat period");
    std::vector<double> bins;
    if (!binPowers(values.data() + w.first, w.count, bins, error)) return false;
    const size_t m = size_t(w.periods);
    if (target.lastBin * m >= bins.size())
        return fail(error, "the record's rate is too low for the sea's highest frequency");
    out.power.clear();
    for (size_t k = target.firstBin; k <= target.lastBin; ++k)
        out.power.push_back(bins[k * m]);
    std::vector<double> others;
    others.reserve(bins.size());
    for (size_t j = 1; j + 1 < bins.size(); ++j) {
        const bool generated = j % m == 0 && j / m >= target.firstBin && j / m <= target.lastBin;
        if (!generated) others.push_back(bins[j]);
    }
    out.noise = noiseFloor(std::move(others));
    return true;
}

bool periodPower(const std::vector<double>& period, const TargetSpectrum& target,
                 std::vector<double>& power, std::string* error) {
    std::vector<double> bins;
    if (!binPowers(period.data(), int64_t(period.size()), bins, error)) return false;
    if (target.lastBin >= bins.size()) return fail(error, "the drive is shorter than its sea");
    power.assign(bins.begin() + int64_t(target.firstBin),
                 bins.begin() + int64_t(target.lastBin) + 1);
    return true;
}

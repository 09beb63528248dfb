#include "waves/noise_warning.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

// Two significant digits: a value to type, not a measurement.
double twoDigits(double value) {
    const double unit = std::pow(10.0, std::floor(std::log10(value)) - 1);
    return std::round(value / unit) * unit;
}

std::string suggested(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2g", value);
    return text;
}

std::string percent(double share) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f %%", 100 * share);
    return text;
}

// The median of S over the bins whose frequency lies in [lo, hi).
double medianDensity(const VarianceSpectrum& s, double lo, double hi) {
    std::vector<double> inside;
    for (size_t j = 0; j < s.density.size(); ++j)
        if (s.frequency(j) >= lo && s.frequency(j) < hi) inside.push_back(s.density[j]);
    if (inside.empty()) return NAN;
    auto middle = inside.begin() + std::ptrdiff_t(inside.size() / 2);
    std::nth_element(inside.begin(), middle, inside.end());
    return *middle;
}

// Quarters of fewer bins than this tell no floor from a tail.
constexpr double LEAST_QUARTER_BINS = 4;

} // namespace

std::vector<NoiseWarning> waveNoiseWarnings(const WaveStatistics& s) {
    if (!(s.h13 > 0) || s.waves.empty()) return {};
    size_t small = 0;
    double sumSquares = 0;
    for (const Wave& w : s.waves)
        if (w.height < NOISE_WAVE_HEIGHT * s.h13) {
            ++small;
            sumSquares += w.height * w.height;
        }
    const double share = double(small) / double(s.waves.size());
    if (!(share > NOISE_WAVE_SHARE)) return {};
    const double rms = std::sqrt(sumSquares / double(small));
    if (!(rms > 0)) return {};
    return {{percent(share) + " of the waves are lower than " + percent(NOISE_WAVE_HEIGHT) +
                 " of H1/3 (noise crossings?)",
             "threshold", twoDigits(rms)}};
}

std::vector<NoiseWarning> spectrumNoiseWarnings(const VarianceSpectrum& s,
                                                const SpectralParameters& p) {
    const double lo = 3 * p.fp, hi = p.fmax;
    if (!(p.m2 > 0) || !(s.df > 0) || !(hi - lo >= 4 * LEAST_QUARTER_BINS * s.df)) return {};
    const double quarter = (hi - lo) / 4;
    // Half a bin over the top so that the band's last bin counts.
    const double floor = medianDensity(s, hi - quarter, hi + s.df / 2);
    const double below = medianDensity(s, hi - 2 * quarter, hi - quarter);
    if (!(floor > 0) || !(below <= NOISE_TAIL_FLATNESS * floor)) return {};
    const double floorM2 = floor * (hi * hi * hi - p.fmin * p.fmin * p.fmin) / 3;
    const double share = floorM2 / p.m2;
    if (!(share > NOISE_TAIL_M2_SHARE)) return {};
    double fmax = lo;
    for (size_t j = 0; j < s.density.size(); ++j)
        if (s.frequency(j) > p.fp && s.density[j] <= 2 * floor) {
            fmax = s.frequency(j);
            break;
        }
    return {{"a flat noise tail above 3 fp holds " + percent(share) + " of m2 (Tm02 too short?)",
             "fmax", twoDigits(fmax)}};
}

std::string batchWarningText(const NoiseWarning& w) {
    return w.what + "; try --" + w.option + " " + suggested(w.value);
}

std::string pythonWarningText(const NoiseWarning& w) {
    return w.what + "; try " + w.option + "=" + suggested(w.value);
}

std::string windowWarningText(const NoiseWarning& w) {
    const std::string field = w.option == "threshold" ? "Threshold H" : "fmax [Hz]";
    std::string text = w.what + "; try " + field + " " + suggested(w.value) + ".";
    text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

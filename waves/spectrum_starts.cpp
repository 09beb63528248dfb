#include "waves/spectrum_starts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>

#include "waves/block_values.h"
#include "waves/spectral_parameters.h"

namespace {

// The peak whose run starts at bin `from`; `next` becomes the bin after it.
SpectrumPeak nextPeak(const VarianceSpectrum& spectrum, size_t from, size_t& next) {
    const std::vector<double>& S = spectrum.density;
    const size_t last = S.size() - 1;
    size_t j = from;
    while (j < last && S[j + 1] >= S[j])
        ++j;
    SpectrumPeak p;
    p.top = j;
    while (j < last && S[j + 1] < S[j])
        ++j;
    p.first = from;
    p.last = j;
    double energy = 0;
    for (size_t i = p.first; i <= p.last; ++i)
        energy += S[i] * spectrum.df;
    p.amplitude = std::sqrt(2 * energy);
    p.frequency = parabolaPeakBin(S, p.top, 1, last) * spectrum.df;
    next = j + 1;
    return p;
}

} // namespace

std::vector<SpectrumPeak> spectrumPeaks(const VarianceSpectrum& spectrum, int count) {
    std::vector<SpectrumPeak> peaks;
    const std::vector<double>& S = spectrum.density;
    if (S.size() < 2 || count <= 0) return peaks;
    for (size_t from = 1; from < S.size();) {
        SpectrumPeak p = nextPeak(spectrum, from, from);
        if (S[p.top] > 0) peaks.push_back(p);
    }
    auto higher = [&](const SpectrumPeak& a, const SpectrumPeak& b) { return S[a.top] > S[b.top]; };
    std::stable_sort(peaks.begin(), peaks.end(), higher);
    if (peaks.size() > size_t(count)) peaks.resize(size_t(count));
    // Below the floor a bump is rounding, leakage or noise, not a wave to
    // start from: a regular wave's spectrum is otherwise all such bumps.
    while (!peaks.empty() && S[peaks.back().top] < PEAK_FLOOR * S[peaks.front().top])
        peaks.pop_back();
    std::sort(peaks.begin(), peaks.end(),
              [](const SpectrumPeak& a, const SpectrumPeak& b) { return a.top < b.top; });
    return peaks;
}

bool startSpectrum(const BlockValues& block, VarianceSpectrum& out, std::string* error) {
    if (block.values.size() < 8) {
        if (error) *error = "the block must hold at least 8 samples";
        return false;
    }
    const int32_t segment =
        int32_t(std::min<size_t>(block.values.size(), INT32_MAX - 1) & ~size_t(1));
    return varianceSpectrum(block, segment, Detrend::Linear, out, error);
}

bool spectrumStartComponents(const CMeasure& m, const BlockRange& block, int count,
                             SignalParameters& out, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    if (count < 1 || count > MAX_COMPONENTS)
        return fail("the number of start components must be 1 to 10");
    BlockValues values;
    if (!blockValues(m, block, values)) return fail("the block holds no sample");
    VarianceSpectrum spectrum;
    if (!startSpectrum(values, spectrum, error)) return false;
    const std::vector<SpectrumPeak> peaks = spectrumPeaks(spectrum, count);
    if (peaks.empty()) return fail("the block's spectrum has no peak");
    SignalParameters list;
    resetParameters(list);
    for (size_t i = 0; i < peaks.size(); ++i) {
        SignalComponent c = list.components[i];
        std::snprintf(c.name, sizeof c.name, "Peak %d", int(i + 1));
        c.frequency = peaks[i].frequency;
        c.amplitude = peaks[i].amplitude;
        appendComponent(list, c);
    }
    const std::vector<double>& v = values.values;
    list.level = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    out = list;
    return true;
}

bool autoComponentCount(const std::string& text, int& count, std::string* error) {
    const std::string prefix = "auto:";
    if (text.compare(0, prefix.size(), prefix) != 0) return false;
    const char* digits = text.c_str() + prefix.size();
    char* end = nullptr;
    const long k = std::strtol(digits, &end, 10);
    count = 0;
    if (end == digits || *end != '\0' || k < 1 || k > MAX_COMPONENTS) {
        if (error) *error = "auto:K takes a number K of start components from 1 to 10";
        return true;
    }
    count = int(k);
    return true;
}

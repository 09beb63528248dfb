#include "waves/reflection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "numeric/constants.h"
#include "waves/parameter_text.h"
#include "waves/reflection_system.h"
#include "waves/wave_number.h"

std::string reflectionGaugeRefusal(const std::vector<BlockValues>& gauges,
                                   const std::vector<double>& x, double depth) {
    if (x.size() < 2) return "at least two gauges are needed";
    if (x.size() > MAX_REFLECTION_GAUGES)
        return "at most " + std::to_string(MAX_REFLECTION_GAUGES) + " gauges";
    if (gauges.size() != x.size()) return "one position per gauge is needed";
    for (double p : x)
        if (!std::isfinite(p)) return "a gauge position is not a number";
    for (size_t i = 0; i < x.size(); ++i)
        for (size_t j = i + 1; j < x.size(); ++j)
            if (x[i] == x[j]) return "two gauges have the same position";
    if (!(depth > 0) || !std::isfinite(depth)) return "the depth must be > 0";
    for (const auto& g : gauges)
        if (g.values.size() != gauges[0].values.size() || g.sampleRate != gauges[0].sampleRate)
            return "the gauges' blocks differ in length or sample rate";
    return "";
}

std::string reflectionRefusal(const std::vector<BlockValues>& gauges, const ReflectionOptions& o) {
    std::string bad = reflectionGaugeRefusal(gauges, o.positions, o.depth);
    if (!bad.empty()) return bad;
    if (!(o.band.fmin >= 0) || !(o.band.fmax >= 0) || !std::isfinite(o.band.fmin) ||
        !std::isfinite(o.band.fmax))
        return "the band limits must be numbers >= 0";
    if (o.band.fmax > 0 && o.band.fmax < o.band.fmin) return "fmax is below fmin";
    return "";
}

namespace {

using Complex = std::complex<double>;

// Each gauge's block, detrended on its own (each gauge drifts its own way),
// transformed whole: coefficients 0 .. n/2, gauge g at [g * (n/2 + 1)].
// Gauges go through the transform in pairs.
bool gaugeCoefficients(const std::vector<BlockValues>& gauges, Detrend detrend,
                       std::vector<Complex>& out) {
    const int32_t n = int32_t(gauges[0].values.size());
    const size_t bins = size_t(n / 2 + 1);
    std::vector<std::vector<double>> centred(gauges.size());
    for (size_t g = 0; g < gauges.size(); ++g) {
        centred[g] = gauges[g].values;
        detrendValues(centred[g], detrend);
    }
    out.assign(gauges.size() * bins, {});
    for (size_t g = 0; g < gauges.size(); g += 2) {
        bool two = g + 1 < gauges.size();
        if (!realTransformPair(centred[g].data(), two ? centred[g + 1].data() : nullptr, n,
                               &out[g * bins], two ? &out[(g + 1) * bins] : nullptr))
            return false;
    }
    return true;
}

// The fine densities averaged over bands of `group` bins centred on every
// group-th bin, the bins left out not counted.
// `separable` gets 1 for each band holding a bin used.
VarianceSpectrum bandAveraged(const std::vector<double>& fine, const std::vector<char>& usable,
                              double df, int32_t group, int32_t segment,
                              std::vector<char>* separable = nullptr) {
    VarianceSpectrum s;
    s.df = df * group;
    s.segment = segment;
    s.segmentCount = 1;
    const size_t bins = (fine.size() - 1) / size_t(group) + 1;
    s.density.assign(bins, 0.0);
    if (separable) separable->assign(bins, 0);
    for (size_t i = 0; i < bins; ++i) {
        int64_t lo = int64_t(i) * group - group / 2;
        double sum = 0;
        int32_t count = 0;
        for (int64_t j = std::max<int64_t>(lo, 0); j < lo + group && j < int64_t(fine.size()); ++j)
            if (usable[size_t(j)]) {
                sum += fine[size_t(j)];
                ++count;
            }
        s.density[i] = count > 0 ? sum / count : 0.0;
        if (separable) (*separable)[i] = count > 0;
    }
    return s;
}

// The runs of unresolved bins in first..last, as frequencies.
std::vector<FrequencyRange> unresolvedRanges(const std::vector<char>& usable, size_t first,
                                             size_t last, double df) {
    std::vector<FrequencyRange> ranges;
    for (size_t j = first; j <= last; ++j) {
        if (usable[j]) continue;
        size_t end = j;
        while (end < last && !usable[end + 1])
            ++end;
        ranges.push_back({double(j) * df, double(end) * df});
        j = end;
    }
    return ranges;
}

} // namespace

bool separateReflection(const std::vector<BlockValues>& gauges, const ReflectionOptions& options,
                        ReflectionResult& out, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    std::string bad = reflectionRefusal(gauges, options);
    if (!bad.empty()) return fail(bad);
    const double rate = gauges[0].sampleRate;
    if (!(rate > 0) || !std::isfinite(rate)) return fail("the sample rate is not positive");
    const size_t n = gauges[0].values.size();
    int32_t segment = 0;
    if (!chooseSegment(n, options.segment, segment, error)) return false;
    const size_t bins = n / 2 + 1;
    ReflectionResult r;
    r.df = rate / double(n);
    // The band, as for the spectrum: from the first non-zero bin to Nyquist.
    size_t first = 0, last = 0;
    if (!bandBins(options.band, r.df, bins, rate / 2, first, last, error)) return false;
    std::vector<Complex> coefficients;
    if (!gaugeCoefficients(gauges, options.detrend, coefficients))
        return fail("the Fourier transform could not be made (out of memory?)");
    std::vector<double> incident(bins, 0.0), reflected(bins, 0.0);
    std::vector<char> usable(bins, 0);
    size_t lowest = bins, highest = 0;
    std::array<Complex, MAX_REFLECTION_GAUGES> b;
    // One-sided density of a coefficient X: 2 |X|^2 / (rate n); half at Nyquist.
    const double factor = 2 / (rate * double(n));
    double k = 0;
    for (size_t j = first; j <= last; ++j) {
        ReflectionSystem system;
        k = waveNumberNear(2 * PI * double(j) * r.df, options.depth, k);
        if (!system.make(options.positions, k)) continue;
        for (size_t g = 0; g < gauges.size(); ++g)
            b[g] = coefficients[g * bins + j];
        Complex aI, aR;
        system.solve(b.data(), gauges.size(), aI, aR);
        double scale = factor * (2 * j == n ? 0.5 : 1.0);
        incident[j] = std::norm(aI) * scale;
        reflected[j] = std::norm(aR) * scale;
        usable[j] = 1;
        lowest = std::min(lowest, j);
        highest = std::max(highest, j);
        ++r.binsUsed;
    }
    if (r.binsUsed == 0)
        return fail("the gauges cannot resolve any frequency of the band (spacing too close to a "
                    "multiple of half a wave length, or too small)");
    r.leftOut = unresolvedRanges(usable, first, last, r.df);
    r.fmin = double(lowest) * r.df;
    r.fmax = double(highest) * r.df;
    r.binsLeftOut = int32_t(highest - lowest + 1) - r.binsUsed;
    double m0I = 0, m0R = 0;
    for (size_t j = lowest; j <= highest; ++j) {
        m0I += incident[j] * r.df;
        m0R += reflected[j] * r.df;
    }
    r.hm0Incident = 4 * std::sqrt(m0I);
    r.hm0Reflected = 4 * std::sqrt(m0R);
    r.kr = m0I > 0 ? r.hm0Reflected / r.hm0Incident : NAN;
    const int32_t group = std::max<int32_t>(1, int32_t(std::lround(double(n) / segment)));
    r.incident = bandAveraged(incident, usable, r.df, group, segment, &r.separable);
    r.reflected = bandAveraged(reflected, usable, r.df, group, segment);
    out = std::move(r);
    return true;
}

std::vector<std::string> reflectionParameterLines(const ReflectionResult& r, const char* unit) {
    std::string u = std::string(" (") + unit + ")";
    return {
        parameterLine("fmin used (Hz)", r.fmin),
        parameterLine("fmax used (Hz)", r.fmax),
        parameterLine("Bins used", double(r.binsUsed)),
        parameterLine("Bins left out", double(r.binsLeftOut)),
        parameterLine("Hm0 incident" + u, r.hm0Incident),
        parameterLine("Hm0 reflected" + u, r.hm0Reflected),
        parameterLine("Kr", r.kr),
    };
}

std::string leftOutText(const std::vector<FrequencyRange>& ranges) {
    if (ranges.empty()) return "none";
    std::string text;
    for (const FrequencyRange& r : ranges) {
        if (!text.empty()) text += ", ";
        text += parameterNumber(r.from);
        if (r.to > r.from) text += "-" + parameterNumber(r.to);
    }
    return text;
}

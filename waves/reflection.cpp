#include "waves/reflection.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "waves/parameter_text.h"
#include "waves/wave_number.h"

namespace {

using Complex = std::complex<double>;
constexpr double PI = 3.141592653589793;

// The gauges cannot tell incident from reflected where k(x_p - x_q) is near a
// multiple of pi for every pair. With S = sum_p e^(2ikx_p) over P gauges the
// least-squares matrix has eigenvalues P - |S| and P + |S|; for two gauges
// |S|/P = |cos(k dx)|, and Goda and Suzuki's range 0.05 < dx/L < 0.45 is
// |cos(k dx)| < cos(0.1 pi). The same bound serves three gauges.
const double MAX_COHERENCE = std::cos(0.1 * PI);

std::string checkInput(const std::vector<BlockValues>& gauges, const ReflectionOptions& o) {
    const auto& x = o.positions;
    if (x.size() < 2) return "two or three gauges are needed";
    if (x.size() > 3) return "at most three gauges";
    if (gauges.size() != x.size()) return "one position per gauge is needed";
    for (double p : x)
        if (!std::isfinite(p)) return "a gauge position is not a number";
    for (size_t i = 0; i < x.size(); ++i)
        for (size_t j = i + 1; j < x.size(); ++j)
            if (x[i] == x[j]) return "two gauges have the same position";
    if (!(o.depth > 0) || !std::isfinite(o.depth)) return "the depth must be > 0";
    if (!(o.band.fmin >= 0) || !(o.band.fmax >= 0) || !std::isfinite(o.band.fmin) ||
        !std::isfinite(o.band.fmax))
        return "the band limits must be numbers >= 0";
    if (o.band.fmax > 0 && o.band.fmax < o.band.fmin) return "fmax is below fmin";
    for (const auto& g : gauges)
        if (g.values.size() != gauges[0].values.size() || g.sampleRate != gauges[0].sampleRate)
            return "the gauges' blocks differ in length or sample rate";
    return "";
}

// The least-squares system of one frequency for gauge coefficients
// b_p = a_I e^(-ikx_p) + a_R e^(ikx_p) (Mansard and Funke 1980; exact for
// two gauges, as Goda and Suzuki 1976). Made once per frequency, solved once
// per segment.
struct BinSystem {
    Complex e[3]; // e^(ikx_p)
    Complex S;    // sum e^(2ikx_p)
    double P = 0;
    double det = 0;

    // False where the gauges cannot tell the two waves apart.
    bool make(const std::vector<double>& x, double k) {
        P = double(x.size());
        S = 0;
        for (size_t p = 0; p < x.size(); ++p) {
            e[p] = std::polar(1.0, k * x[p]);
            S += e[p] * e[p];
        }
        det = P * P - std::norm(S);
        return std::abs(S) <= MAX_COHERENCE * P;
    }

    // [[P, S], [S*, P]] [a_I, a_R] = [sum e b, sum conj(e) b]
    void solve(const Complex* b, size_t gauges, Complex& incident, Complex& reflected) const {
        Complex u = 0, v = 0;
        for (size_t p = 0; p < gauges; ++p) {
            u += e[p] * b[p];
            v += std::conj(e[p]) * b[p];
        }
        incident = (P * u - S * v) / det;
        reflected = (P * v - std::conj(S) * u) / det;
    }
};

VarianceSpectrum emptyLike(const SegmentSpectra& seg, double rate) {
    VarianceSpectrum s;
    s.df = rate / seg.segment;
    s.segment = seg.segment;
    s.segmentCount = seg.segmentCount;
    s.density.assign(seg.bins(), 0.0);
    return s;
}

} // namespace

bool separateReflection(const std::vector<BlockValues>& gauges, const ReflectionOptions& options,
                        ReflectionResult& out, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    std::string bad = checkInput(gauges, options);
    if (!bad.empty()) return fail(bad);
    const double rate = gauges[0].sampleRate;
    std::vector<SegmentSpectra> seg(gauges.size());
    for (size_t g = 0; g < gauges.size(); ++g)
        if (!segmentSpectra(gauges[g].values, rate, options.segment, seg[g], error)) return false;
    ReflectionResult r;
    r.incident = emptyLike(seg[0], rate);
    r.reflected = emptyLike(seg[0], rate);
    const size_t bins = seg[0].bins();
    const double df = r.incident.df;
    // The band, as for the spectrum: from the first non-zero bin to Nyquist.
    size_t first = options.band.fmin > 0 ? size_t(std::ceil(options.band.fmin / df - 0.5)) : 1;
    size_t last =
        options.band.fmax > 0 ? size_t(std::floor(options.band.fmax / df + 0.5)) : bins - 1;
    first = std::max<size_t>(first, 1);
    last = std::min(last, bins - 1);
    // The systems first, then the segments one after another, so that the
    // coefficients are read in the order they lie in memory.
    std::vector<BinSystem> systems(bins);
    std::vector<char> usable(bins, 0);
    size_t lowest = bins, highest = 0;
    for (size_t j = first; j <= last; ++j) {
        double k = waveNumber(2 * PI * r.incident.frequency(j), options.depth);
        if (!systems[j].make(options.positions, k)) continue;
        usable[j] = 1;
        lowest = std::min(lowest, j);
        highest = std::max(highest, j);
        ++r.binsUsed;
    }
    Complex b[3];
    for (int32_t s = 0; s < seg[0].segmentCount; ++s) {
        for (size_t j = lowest; j <= highest; ++j) {
            if (!usable[j]) continue;
            for (size_t g = 0; g < gauges.size(); ++g)
                b[g] = seg[g].coefficients[size_t(s) * bins + j];
            Complex aI, aR;
            systems[j].solve(b, gauges.size(), aI, aR);
            r.incident.density[j] += std::norm(aI);
            r.reflected.density[j] += std::norm(aR);
        }
    }
    for (size_t j = lowest; j <= highest && j < bins; ++j) {
        double scale = seg[0].densityFactor * (j == bins - 1 ? 0.5 : 1.0) / seg[0].segmentCount;
        r.incident.density[j] *= scale;
        r.reflected.density[j] *= scale;
    }
    if (r.binsUsed == 0)
        return fail("the gauges cannot resolve any frequency of the band (spacing too close to a "
                    "multiple of half a wave length, or too small)");
    r.fmin = r.incident.frequency(lowest);
    r.fmax = r.incident.frequency(highest);
    r.binsLeftOut = int32_t(highest - lowest + 1) - r.binsUsed;
    double m0I = 0, m0R = 0;
    for (size_t j = lowest; j <= highest; ++j) {
        m0I += r.incident.density[j] * df;
        m0R += r.reflected.density[j] * df;
    }
    r.hm0Incident = 4 * std::sqrt(m0I);
    r.hm0Reflected = 4 * std::sqrt(m0R);
    r.kr = m0I > 0 ? r.hm0Reflected / r.hm0Incident : NAN;
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

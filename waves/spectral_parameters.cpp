#include "waves/spectral_parameters.h"

#include <algorithm>
#include <cmath>

#include "waves/parameter_text.h"

bool bandBins(const SpectralBand& band, double df, size_t bins, double nyquist, size_t& first,
              size_t& last, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    if (!(band.fmin >= 0) || !(band.fmax >= 0) || !std::isfinite(band.fmin) ||
        !std::isfinite(band.fmax))
        return fail("the band limits must be numbers >= 0");
    if (band.fmax > 0 && band.fmax < band.fmin) return fail("fmax is below fmin");
    if (band.fmin > nyquist || band.fmax > nyquist)
        return fail("the band limits must not exceed the Nyquist frequency, " +
                    parameterNumber(nyquist) + " Hz");
    if (bins < 2 || !(df > 0)) return fail("no frequency bin lies inside the band");
    // In doubles: a limit far beyond the bins has no integer bin number.
    const double top = double(bins - 1);
    double lo = band.fmin > 0 ? std::ceil(band.fmin / df - 0.5) : 1;
    double hi = band.fmax > 0 ? std::floor(band.fmax / df + 0.5) : top;
    lo = std::max(lo, 1.0);
    hi = std::min(hi, top);
    if (!(lo <= hi)) return fail("no frequency bin lies inside the band");
    first = size_t(lo);
    last = size_t(hi);
    return true;
}

double parabolaPeakBin(const std::vector<double>& S, size_t peak, size_t first, size_t last) {
    // A flat top or an edge of the band keeps the bin.
    double offset = 0;
    if (peak > first && peak < last) {
        const double curvature = S[peak - 1] - 2 * S[peak] + S[peak + 1];
        if (curvature < 0) offset = 0.5 * (S[peak - 1] - S[peak + 1]) / curvature;
    }
    return double(peak) + offset;
}

namespace {

// The peak periods beside Tp over bins first..last, `peak` the largest.
void peakPeriods(const VarianceSpectrum& spectrum, size_t first, size_t last, size_t peak,
                 SpectralParameters& p) {
    const std::vector<double>& S = spectrum.density;
    const double top = S[peak];
    p.tpParabola = 1 / (parabolaPeakBin(S, peak, first, last) * spectrum.df);
    // S^5 relative to the peak, so that no power under- or overflows.
    double sum5 = 0, sumF5 = 0, sumD = 0, sumFD = 0;
    for (size_t j = first; j <= last; ++j) {
        const double f = spectrum.frequency(j);
        const double r = S[j] / top;
        const double r5 = r * r * r * r * r;
        sum5 += r5;
        sumF5 += f * r5;
        if (S[j] >= 0.8 * top) {
            sumD += S[j];
            sumFD += f * S[j];
        }
    }
    p.tp5 = sum5 / sumF5;
    p.tpD = sumD / sumFD;
}

} // namespace

bool spectralParameters(const VarianceSpectrum& spectrum, const SpectralBand& band,
                        SpectralParameters& out, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    size_t first = 0, last = 0;
    // Half the sample rate; a spectrum that does not say its segment ends there.
    const double bins = double(spectrum.density.size());
    const double nyquist =
        spectrum.df * (spectrum.segment > 0 ? spectrum.segment / 2.0 : std::max(bins - 1, 0.0));
    if (!bandBins(band, spectrum.df, spectrum.density.size(), nyquist, first, last, error))
        return false;
    SpectralParameters p;
    const double df = spectrum.df;
    double peak = -1, sumFS2 = 0;
    size_t peakBin = first;
    for (size_t j = first; j <= last; ++j) {
        double f = spectrum.frequency(j);
        double s = spectrum.density[j];
        p.mMinus1 += s / f * df;
        p.m0 += s * df;
        p.m1 += f * s * df;
        p.m2 += f * f * s * df;
        sumFS2 += f * s * s * df;
        if (s > peak) {
            peak = s;
            peakBin = j;
            p.fp = f;
        }
    }
    if (!(p.m0 > 0)) return fail("the band holds no variance");
    p.fmin = spectrum.frequency(first);
    p.fmax = spectrum.frequency(last);
    p.binCount = int32_t(last - first + 1);
    p.hm0 = 4 * std::sqrt(p.m0);
    p.tp = 1 / p.fp;
    p.tm01 = p.m0 / p.m1;
    p.tm02 = std::sqrt(p.m0 / p.m2);
    p.tm10 = p.mMinus1 / p.m0;
    p.width = std::sqrt(std::max(0.0, p.m0 * p.m2 / (p.m1 * p.m1) - 1));
    p.qp = 2 * sumFS2 / (p.m0 * p.m0);
    peakPeriods(spectrum, first, last, peakBin, p);
    out = p;
    return true;
}

std::vector<std::string> spectralParameterLines(const SpectralParameters& p, const char* unit) {
    std::string u = std::string(" (") + unit + ")";
    return {
        parameterLine("fmin (Hz)", p.fmin),
        parameterLine("fmax (Hz)", p.fmax),
        parameterLine("m0 (" + std::string(unit) + "^2)", p.m0),
        parameterLine("Hm0" + u, p.hm0),
        parameterLine("fp (Hz)", p.fp),
        parameterLine("Tp (s)", p.tp),
        parameterLine("Tm01 (s)", p.tm01),
        parameterLine("Tm02 (s)", p.tm02),
        parameterLine("Tm-10 (s)", p.tm10),
        parameterLine("Width nu", p.width),
        parameterLine("Qp", p.qp),
    };
}

std::vector<std::string> peakPeriodLines(const SpectralParameters& p) {
    return {
        parameterLine("Tp parabola (s)", p.tpParabola),
        parameterLine("Tp5 (s)", p.tp5),
        parameterLine("TpD (s)", p.tpD),
    };
}

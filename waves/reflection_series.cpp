#include "waves/reflection_series.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "analysis/fft_plan.h"
#include "numeric/constants.h"
#include "waves/parameter_text.h"
#include "waves/reflection_system.h"
#include "waves/wave_number.h"

namespace {

using Complex = std::complex<double>;

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// Detrended, faded over `taper` samples at each end, then twice as long with
// zeros.
std::vector<double> prepared(const BlockValues& gauge, Detrend detrend, int32_t taper) {
    std::vector<double> v = gauge.values;
    detrendValues(v, detrend);
    const size_t n = v.size();
    for (int32_t j = 0; j < taper; ++j) {
        const double w = 0.5 * (1 - std::cos(PI * (j + 0.5) / taper));
        v[size_t(j)] *= w;
        v[n - 1 - size_t(j)] *= w;
    }
    v.resize(2 * n, 0.0);
    return v;
}

// The real series whose coefficients 0 .. n/2 are `c`, the first `keep` of it.
bool inverse(const std::vector<Complex>& c, int32_t n, size_t keep, std::vector<double>& out) {
    FftBuffer z(n);
    if (!z.valid()) return false;
    std::fill(z.data(), z.data() + n, Complex());
    for (int32_t j = 1; j < n / 2; ++j) {
        z[j] = c[size_t(j)];
        z[n - j] = std::conj(c[size_t(j)]);
    }
    z[n / 2] = c[size_t(n / 2)].real();
    if (!executeDft(z, +1)) return false;
    out.resize(keep);
    for (size_t j = 0; j < keep; ++j)
        out[j] = z[int32_t(j)].real() / n;
    return true;
}

} // namespace

bool reflectionSeries(const std::vector<BlockValues>& gauges, const ReflectionOptions& options,
                      double at, ReflectionSeries& out, std::string* error) {
    std::string bad = reflectionRefusal(gauges, options);
    if (!bad.empty()) return fail(error, bad);
    if (!std::isfinite(at)) return fail(error, "the series' position is not a number");
    const double rate = gauges[0].sampleRate;
    if (!(rate > 0) || !std::isfinite(rate)) return fail(error, "the sample rate is not positive");
    const size_t n = gauges[0].values.size();
    if (n < 8) return fail(error, "the block is too short for a series");
    if (n > size_t(INT32_MAX / 2)) return fail(error, "the block is too long for a series");
    const int32_t padded = int32_t(2 * n);
    const size_t bins = size_t(padded / 2 + 1);
    const double df = rate / padded;
    size_t first = 0, last = 0;
    if (!bandBins(options.band, df, bins, rate / 2, first, last, error)) return false;
    ReflectionSeries s;
    s.sampleRate = rate;
    s.startTime = gauges[0].startTime;
    s.at = at;
    s.taper = std::max<int32_t>(1, int32_t(n / REFLECTION_TAPER_FRACTION));
    std::vector<std::vector<Complex>> b(gauges.size(), std::vector<Complex>(bins));
    for (size_t g = 0; g < gauges.size(); ++g) {
        const std::vector<double> v = prepared(gauges[g], options.detrend, s.taper);
        if (!realTransformPair(v.data(), nullptr, padded, b[g].data(), nullptr))
            return fail(error, "the Fourier transform could not be made (out of memory?)");
    }
    std::vector<Complex> incident(bins), reflected(bins);
    std::array<Complex, MAX_REFLECTION_GAUGES> coefficients;
    double k = 0;
    int32_t used = 0;
    for (size_t j = first; j <= last; ++j) {
        k = waveNumberNear(2 * PI * double(j) * df, options.depth, k);
        ReflectionSystem system;
        if (!system.make(options.positions, k)) continue;
        for (size_t g = 0; g < gauges.size(); ++g)
            coefficients[g] = b[g][j];
        Complex aI, aR;
        system.solve(coefficients.data(), gauges.size(), aI, aR);
        incident[j] = aI * std::polar(1.0, -k * at);
        reflected[j] = aR * std::polar(1.0, k * at);
        ++used;
    }
    if (used == 0)
        return fail(error, "the gauges cannot resolve any frequency of the band (spacing too close "
                           "to a multiple of half a wave length, or too small)");
    if (!inverse(incident, padded, n, s.incident) || !inverse(reflected, padded, n, s.reflected))
        return fail(error, "the Fourier transform could not be made (out of memory?)");
    out = std::move(s);
    return true;
}

bool reflectionSeriesMeasure(const ReflectionSeries& series, const char* unit, CMeasure& out) {
    const int32_t rows = int32_t(series.incident.size());
    if (rows < 1 || !out.allocateSamples(rows, 2, SAMPLE_FORMAT_REAL)) return false;
    out.sampleFormat = SAMPLE_FORMAT_REAL;
    out.sampleRate = series.sampleRate;
    out.sampleCount = rows;
    out.channelCount = 2;
    copyField(out.name, sizeof out.name, "Incident and reflected waves");
    copyField(out.path, sizeof out.path, "");
    out.stampDate();
    const std::string where = " at " + parameterNumber(series.at) + " m";
    const std::vector<double>* curves[2] = {&series.incident, &series.reflected};
    const std::string names[2] = {"incident" + where, "reflected" + where};
    for (int32_t c = 0; c < 2; ++c) {
        setChannelInfo(out.channels[c], 1.0, 0.0, unit, names[c].c_str());
        resetParameters(out.signalParameters[c]);
        for (int32_t j = 0; j < rows; ++j)
            out.setSample(c, j, Sample{float((*curves[c])[size_t(j)]), 0.0f});
    }
    return true;
}

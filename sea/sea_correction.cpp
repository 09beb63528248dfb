#include "sea/sea_correction.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/fft_plan.h"
#include "numeric/constants.h"
#include "sea/sea_ramp.h"
#include "waves/spectral_parameters.h"

namespace {

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

// How far the window's response is followed, in bins: its side lobes are
// down by 10^-7 there.
constexpr double KERNEL_BINS = 16;

double sinc(double x) {
    return x == 0 ? 1.0 : std::sin(PI * x) / (PI * x);
}

// The Hann window's power response at `nu` bins from a bin, of area 1: the
// window's transform is 0.5 sinc(nu) + 0.25 sinc(nu - 1) + 0.25 sinc(nu + 1)
// (the side terms' sign is that of a window centred on its segment), and the
// mean of the squared window is 3/8.
double hannPower(double nu) {
    const double w = 0.5 * sinc(nu) + 0.25 * (sinc(nu - 1) + sinc(nu + 1));
    return w * w / 0.375;
}

// The gain at frequency f, linear between the bins of the measured spectrum.
double gainAt(const std::vector<double>& gains, double df, double f) {
    const double x = f / df;
    const size_t lower = std::min(size_t(x), gains.size() - 1);
    if (lower + 1 >= gains.size()) return gains.back();
    const double w = x - double(lower);
    return gains[lower] + w * (gains[lower + 1] - gains[lower]);
}

// Bins outside the band take the gain of the band's nearest bin, so that
// the drive's edge components are not pulled towards the leakage beyond it.
void extendBandEdges(std::vector<double>& gains, double df, const TargetSpectrum& target) {
    if (gains.empty()) return;
    const double last = double(gains.size() - 1);
    const size_t first = size_t(std::min(last, std::ceil(target.fmin / df)));
    const size_t end =
        size_t(std::max(double(first), std::min(last, std::floor(target.fmax / df))));
    std::fill(gains.begin(), gains.begin() + int64_t(first), gains[first]);
    std::fill(gains.begin() + int64_t(end), gains.end(), gains[end]);
}

void describeMeasured(const VarianceSpectrum& measured, const TargetSpectrum& target,
                      SeaReport& r) {
    SpectralParameters sp;
    const SpectralBand band{target.frequency(target.firstBin), target.frequency(target.lastBin)};
    if (spectralParameters(measured, band, sp, nullptr)) {
        r.measuredHm0 = sp.hm0;
        r.measuredTp = sp.tp;
    }
    const std::vector<double> errors = bandEnergyErrors(measured, target);
    double largest = 0, squares = 0;
    for (double e : errors) {
        largest = std::max(largest, std::abs(e));
        squares += e * e;
    }
    r.bandError = largest;
    r.bandErrorRms = errors.empty() ? 0 : std::sqrt(squares / double(errors.size()));
}

} // namespace

bool componentsFromDisplacement(const SeaParameters& p, const std::vector<double>& displacement,
                                SeaDrive& drive, std::string* error) {
    if (int64_t(displacement.size()) != seaSampleCount(p) ||
        drive.target.lastBin >= displacement.size() / 2)
        return fail(error, "the drive's length is not that of the sea's parameters");
    const int32_t n = int32_t(displacement.size());
    FftBuffer z(n);
    if (!z.valid()) return fail(error, "out of memory for the drive's spectrum");
    const SeaRamp ramp{seaRampSeconds(p), p.dt, n};
    for (int32_t i = 0; i < n; ++i) {
        double weight, slope;
        ramp.at(i, weight, slope);
        z[i] = displacement[size_t(i)] / weight;
    }
    if (!executeDft(z, -1)) return fail(error, "the drive's spectrum could not be planned");
    const TargetSpectrum& t = drive.target;
    drive.components.resize(t.lastBin - t.firstBin + 1);
    for (size_t k = t.firstBin; k <= t.lastBin; ++k)
        drive.components[k - t.firstBin] = z[int32_t(k)] / double(n);
    return true;
}

std::vector<double> targetAsMeasured(const VarianceSpectrum& measured,
                                     const TargetSpectrum& target) {
    const double dfw = measured.df;
    std::vector<double> seen(measured.density.size());
    for (size_t i = 0; i < target.binDensity.size(); ++i) {
        const double f = target.frequency(target.firstBin + i);
        const double variance = target.binDensity[i] * target.df;
        const double at = f / dfw;
        const int64_t from = std::max<int64_t>(0, int64_t(std::ceil(at - KERNEL_BINS)));
        const int64_t to = std::min<int64_t>(int64_t(seen.size()) - 1, int64_t(at + KERNEL_BINS));
        for (int64_t j = from; j <= to; ++j)
            seen[size_t(j)] += variance * hannPower(at - double(j)) / dfw;
    }
    return seen;
}

std::vector<double> bandEnergyErrors(const VarianceSpectrum& measured,
                                     const TargetSpectrum& target) {
    const std::vector<double> seen = targetAsMeasured(measured, target);
    const double low = target.frequency(target.firstBin);
    const double width = (target.frequency(target.lastBin) - low) / SEA_ENERGY_BANDS;
    std::vector<double> wanted(SEA_ENERGY_BANDS), got(SEA_ENERGY_BANDS);
    for (size_t j = 0; j < measured.density.size(); ++j) {
        const double f = measured.frequency(j);
        const double at = width > 0 ? (f - low) / width : 0;
        if (at < 0 || at > SEA_ENERGY_BANDS) continue;
        const size_t band = std::min(size_t(at), size_t(SEA_ENERGY_BANDS - 1));
        wanted[band] += seen[j];
        got[band] += measured.density[j];
    }
    std::vector<double> errors;
    for (int b = 0; b < SEA_ENERGY_BANDS; ++b)
        if (wanted[size_t(b)] > 0) errors.push_back(got[size_t(b)] / wanted[size_t(b)] - 1);
    return errors;
}

std::vector<double> correctionGains(const VarianceSpectrum& measured, const TargetSpectrum& target,
                                    int32_t smooth) {
    const size_t bins = measured.density.size();
    const std::vector<double> wanted = targetAsMeasured(measured, target);
    std::vector<double> gains(bins, 1.0);
    const int64_t before = (smooth - 1) / 2;
    for (size_t j = 0; j < bins; ++j) {
        const size_t from = size_t(std::max<int64_t>(0, int64_t(j) - before));
        const size_t to = std::min(bins, from + size_t(smooth));
        double t = 0, m = 0;
        for (size_t i = from; i < to; ++i) {
            t += wanted[i];
            m += measured.density[i];
        }
        if (t > 0 || m > 0)
            gains[j] =
                m > 0 ? std::clamp(std::sqrt(t / m), SEA_GAIN_MIN, SEA_GAIN_MAX) : SEA_GAIN_MAX;
    }
    extendBandEdges(gains, measured.df, target);
    return gains;
}

bool correctSeaDrive(const SeaParameters& p, const BlockValues& measured, int32_t smooth,
                     SeaDrive& drive, std::string* error) {
    if (p.regular) return fail(error, "a regular sea is not corrected from a spectrum");
    if (smooth < 1) return fail(error, "--smooth must be a whole number of bins >= 1");
    VarianceSpectrum spectrum;
    if (!varianceSpectrum(measured, 0, spectrum, error)) return false;
    const std::vector<double> gains = correctionGains(spectrum, drive.target, smooth);
    SeaReport before;
    describeMeasured(spectrum, drive.target, before);
    // A still or constant record would raise every gain to its cap.
    if (!(before.measuredHm0 >= SEA_LEAST_MEASURED_SHARE * drive.target.hm0)) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "the measured record holds no waves in the band: Hm0 %.3g m there, the "
                      "target's %.3g m",
                      before.measuredHm0, drive.target.hm0);
        return fail(error, text);
    }
    double lowest = SEA_GAIN_MAX, highest = SEA_GAIN_MIN;
    for (size_t i = 0; i < drive.components.size(); ++i) {
        const double f = drive.target.frequency(drive.target.firstBin + i);
        const double g = gainAt(gains, spectrum.df, f);
        lowest = std::min(lowest, g);
        highest = std::max(highest, g);
        drive.components[i] *= g;
    }
    if (!renderSeaDrive(p, drive, error)) return false;
    SeaReport& r = drive.report;
    r.corrected = true;
    r.measuredHm0 = before.measuredHm0;
    r.measuredTp = before.measuredTp;
    r.bandError = before.bandError;
    r.bandErrorRms = before.bandErrorRms;
    r.gainMin = lowest;
    r.gainMax = highest;
    const std::string limit = driveLimitError(p, r);
    return limit.empty() || fail(error, limit);
}

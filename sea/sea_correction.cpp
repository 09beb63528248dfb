#include "sea/sea_correction.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/fft_plan.h"
#include "numeric/constants.h"
#include "sea/repeat_components.h"
#include "sea/sea_ramp.h"
#include "waves/spectral_parameters.h"

namespace {

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
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

// The `smooth` indices around i, within [0, size).
std::pair<size_t, size_t> neighbours(size_t i, size_t size, int32_t smooth) {
    const int64_t before = (smooth - 1) / 2;
    const size_t from = size_t(std::max<int64_t>(0, int64_t(i) - before));
    return {from, std::min(size, from + size_t(smooth))};
}

// measured / wanted - 1 of the variance in each tenth of the target's band;
// `frequency`, `got` and `wanted` run in step (variances, not densities).
std::vector<double> tenthErrors(const std::vector<double>& frequency,
                                const std::vector<double>& got, const std::vector<double>& wanted,
                                const TargetSpectrum& target) {
    const double low = target.frequency(target.firstBin);
    const double width = (target.frequency(target.lastBin) - low) / SEA_ENERGY_BANDS;
    std::vector<double> w(SEA_ENERGY_BANDS), g(SEA_ENERGY_BANDS);
    for (size_t j = 0; j < frequency.size(); ++j) {
        const double at = width > 0 ? (frequency[j] - low) / width : 0;
        if (at < 0 || at > SEA_ENERGY_BANDS) continue;
        const size_t band = std::min(size_t(at), size_t(SEA_ENERGY_BANDS - 1));
        w[band] += wanted[j];
        g[band] += got[j];
    }
    std::vector<double> errors;
    for (int b = 0; b < SEA_ENERGY_BANDS; ++b)
        if (w[size_t(b)] > 0) errors.push_back(g[size_t(b)] / w[size_t(b)] - 1);
    return errors;
}

void describeMeasured(const VarianceSpectrum& measured, const TargetSpectrum& target,
                      const std::vector<double>& errors, SeaReport& r) {
    SpectralParameters sp;
    const SpectralBand band{target.frequency(target.firstBin), target.frequency(target.lastBin)};
    if (spectralParameters(measured, band, sp, nullptr)) {
        r.measuredHm0 = sp.hm0;
        r.measuredTp = sp.tp;
    }
    double largest = 0, squares = 0;
    for (double e : errors) {
        largest = std::max(largest, std::abs(e));
        squares += e * e;
    }
    r.bandError = largest;
    r.bandErrorRms = errors.empty() ? 0 : std::sqrt(squares / double(errors.size()));
}

std::vector<double> componentPowers(const std::vector<std::complex<double>>& components) {
    std::vector<double> power;
    for (const auto& c : components)
        power.push_back(std::norm(c));
    return power;
}

// What the gains of one round come from, by either way of measuring.
struct MeasuredRound {
    std::vector<double> componentGains; // one per drive component
    SeaReport report;                   // the measured part only
};

// The components over whole repeat periods of `values` (window `w`).
bool measureRepeats(const SeaParameters& p, const std::vector<double>& values,
                    const RepeatWindow& w, int32_t smooth, SeaDrive& drive, MeasuredRound& out,
                    std::string* error) {
    const TargetSpectrum& t = drive.target;
    RepeatComponents measured;
    std::vector<double> played;
    // The sea the paddle's theory makes of the drive as played, ramps and
    // all: the record differs from it by what the flume itself does, which
    // varies slowly enough with frequency to be averaged over a few
    // components.
    if (!repeatComponents(values, w, t, measured, error) || !renderSeaDrive(p, drive, error) ||
        !periodPower(drive.displacement, t, played, error))
        return false;
    const std::vector<double> transfer = binTransfer(t, p.paddle, p.depth);
    std::vector<double> generated = componentPowers(drive.components);
    for (size_t i = 0; i < generated.size(); ++i) {
        played[i] *= transfer[i] * transfer[i];
        generated[i] *= transfer[i] * transfer[i];
    }
    const std::vector<double> wanted = componentPowers(wantedElevation(p, t));
    out.componentGains =
        repeatGains(measured.power, measured.noise, played, generated, wanted, smooth);
    VarianceSpectrum seen;
    seen.df = t.df;
    seen.density.assign(t.lastBin + 1, 0.0);
    std::vector<double> frequency, got, asked;
    for (size_t i = 0; i < measured.power.size(); ++i) {
        const double variance = 2 * std::max(0.0, measured.power[i] - measured.noise);
        seen.density[t.firstBin + i] = variance / t.df;
        frequency.push_back(t.frequency(t.firstBin + i));
        got.push_back(variance);
        asked.push_back(t.binDensity[i] * t.df);
    }
    describeMeasured(seen, t, tenthErrors(frequency, got, asked, t), out.report);
    return true;
}

// The Welch spectrum of the whole block, for a block shorter than a period.
bool measureWelch(const BlockValues& values, int32_t smooth, const SeaDrive& drive,
                  MeasuredRound& out, std::string* error) {
    VarianceSpectrum spectrum;
    if (!varianceSpectrum(values, 0, spectrum, error)) return false;
    const std::vector<double> gains = correctionGains(spectrum, drive.target, smooth);
    for (size_t i = 0; i < drive.components.size(); ++i)
        out.componentGains.push_back(
            gainAt(gains, spectrum.df, drive.target.frequency(drive.target.firstBin + i)));
    describeMeasured(spectrum, drive.target, bandEnergyErrors(spectrum, drive.target), out.report);
    return true;
}

std::string welchWarning(double period) {
    char text[240];
    std::snprintf(text, sizeof text,
                  "the block holds less than one repeat period (%g s) after the start-up: the "
                  "correction is measured from its Welch spectrum and is limited to that "
                  "spectrum's scatter",
                  period);
    return text;
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

std::vector<double> targetAtResolution(const VarianceSpectrum& measured,
                                       const TargetSpectrum& target) {
    const double dfw = measured.df;
    std::vector<double> wanted(measured.density.size());
    if (!(dfw > 0)) return wanted;
    for (size_t i = 0; i < target.binDensity.size(); ++i) {
        const double at = std::round(target.frequency(target.firstBin + i) / dfw);
        if (at < double(wanted.size()))
            wanted[size_t(at)] += target.binDensity[i] * target.df / dfw;
    }
    return wanted;
}

double spectrumNoiseFloor(const VarianceSpectrum& measured, const TargetSpectrum& target) {
    std::vector<double> outside;
    for (size_t j = 1; j < measured.density.size(); ++j) {
        const double f = measured.frequency(j);
        if (f < target.fmin - measured.df || f > target.fmax + measured.df)
            outside.push_back(measured.density[j]);
    }
    if (outside.empty()) return 0;
    auto middle = outside.begin() + int64_t(outside.size() / 2);
    std::nth_element(outside.begin(), middle, outside.end());
    return *middle;
}

std::vector<double> bandEnergyErrors(const VarianceSpectrum& measured,
                                     const TargetSpectrum& target) {
    const std::vector<double> wanted = targetAtResolution(measured, target);
    std::vector<double> frequency, got, asked;
    for (size_t j = 0; j < measured.density.size(); ++j) {
        frequency.push_back(measured.frequency(j));
        got.push_back(measured.density[j] * measured.df);
        asked.push_back(wanted[j] * measured.df);
    }
    return tenthErrors(frequency, got, asked, target);
}

std::vector<double> correctionGains(const VarianceSpectrum& measured, const TargetSpectrum& target,
                                    int32_t smooth) {
    const size_t bins = measured.density.size();
    const std::vector<double> wanted = targetAtResolution(measured, target);
    const double noise = spectrumNoiseFloor(measured, target);
    std::vector<double> gains(bins, 1.0);
    for (size_t j = 0; j < bins; ++j) {
        const auto [from, to] = neighbours(j, bins, smooth);
        double t = 0, m = 0;
        for (size_t i = from; i < to; ++i) {
            t += wanted[i];
            m += measured.density[i];
        }
        const double floor = noise * double(to - from);
        if (m > SEA_NOISE_MARGIN * floor && t > 0)
            gains[j] = std::clamp(std::sqrt(t / (m - floor)), SEA_GAIN_MIN, SEA_GAIN_MAX);
        else if (m == 0 && t > 0)
            gains[j] = SEA_GAIN_MAX;
    }
    extendBandEdges(gains, measured.df, target);
    return gains;
}

std::vector<double> repeatGains(const std::vector<double>& measured, double noise,
                                const std::vector<double>& played,
                                const std::vector<double>& generated,
                                const std::vector<double>& wanted, int32_t smooth) {
    const size_t n = measured.size();
    std::vector<double> gains(n, 1.0);
    for (size_t i = 0; i < n; ++i) {
        const auto [from, to] = neighbours(i, n, smooth);
        double m = 0, d = 0, g = 0;
        for (size_t j = from; j < to; ++j) {
            m += measured[j];
            d += played[j];
            g += generated[j];
        }
        const double floor = noise * double(to - from);
        // Where the ramps' leakage from stronger components adds to or
        // takes from a component as much as half of it, its bin tells
        // little of it: it keeps its gain.
        if (!(m > SEA_NOISE_MARGIN * floor) || !(d > 0) || !(generated[i] > 0) ||
            !(d <= SEA_LEAKAGE_MARGIN * g && g <= SEA_LEAKAGE_MARGIN * d))
            continue;
        const double transfer = (m - floor) / d; // the flume's own |H|^2
        gains[i] = std::clamp(std::sqrt(wanted[i] / (transfer * generated[i])), SEA_GAIN_MIN,
                              SEA_GAIN_MAX);
    }
    return gains;
}

const char* notCorrectable(const SeaParameters& p) {
    if (p.regular) return "a regular sea is not corrected from a spectrum";
    if (p.bichromatic) return "a bichromatic group is not corrected from a spectrum";
    if (p.solitaryHeight > 0) return "a solitary wave is not corrected from a spectrum";
    return nullptr;
}

bool correctSeaDrive(const SeaParameters& p, const BlockValues& measured, int32_t smooth,
                     SeaDrive& drive, std::string* error) {
    if (const char* why = notCorrectable(p)) return fail(error, why);
    if (smooth < 1) return fail(error, "--smooth must be a whole number of bins >= 1");
    const double period = double(seaSampleCount(p)) * p.dt;
    const RepeatWindow w =
        repeatWindow(measured.values.size(), measured.sampleRate, period, seaRampSeconds(p));
    MeasuredRound round;
    if (w.periods >= 1) {
        if (!measureRepeats(p, measured.values, w, smooth, drive, round, error)) return false;
        round.report.measuredFirst = w.first;
        round.report.measuredLast = w.first + w.count - 1;
        round.report.measuredPeriods = w.periods;
    } else {
        if (!measureWelch(measured, smooth, drive, round, error)) return false;
        round.report.measuredLast = int64_t(measured.values.size()) - 1;
        round.report.warning = welchWarning(period);
    }
    const SeaReport& before = round.report;
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
        const double g = round.componentGains[i];
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
    r.measuredFirst = before.measuredFirst;
    r.measuredLast = before.measuredLast;
    r.measuredPeriods = before.measuredPeriods;
    r.warning = before.warning;
    r.gainMin = lowest;
    r.gainMax = highest;
    const std::string limit = driveLimitError(p, r);
    return limit.empty() || fail(error, limit);
}

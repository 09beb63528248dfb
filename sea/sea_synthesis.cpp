#include "sea/sea_synthesis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "analysis/fft_plan.h"
#include "numeric/constants.h"
#include "sea/focused_group.h"
#include "sea/sea_ramp.h"
#include "sea/sea_random.h"
#include "sea/solitary_wave.h"
#include "waves/wave_number.h"

namespace {

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

const char* const NO_MEMORY = "out of memory for the sea";

// Fills z with c_k at k and conj-like partners at N - k so that one inverse
// transform gives x + i v: Z_k = X_k (1 - w_k), Z_(N-k) = conj(X_k) (1 + w_k).
void packDrive(FftBuffer& z, const SeaDrive& d) {
    const int32_t n = z.size();
    std::fill(z.data(), z.data() + n, std::complex<double>());
    for (size_t i = 0; i < d.components.size(); ++i) {
        const size_t k = d.target.firstBin + i;
        const double w = 2 * PI * d.target.frequency(k);
        z[int32_t(k)] = d.components[i] * (1 - w);
        z[n - int32_t(k)] = std::conj(d.components[i]) * (1 + w);
    }
}

// The elevation's components i (H/S) X_k and their mirrors.
void packElevation(FftBuffer& z, const SeaDrive& d, const std::vector<double>& transfer) {
    const int32_t n = z.size();
    std::fill(z.data(), z.data() + n, std::complex<double>());
    for (size_t i = 0; i < d.components.size(); ++i) {
        const int32_t k = int32_t(d.target.firstBin + i);
        const std::complex<double> e = std::complex<double>(0, transfer[i]) * d.components[i];
        z[k] = e;
        z[n - k] = std::conj(e);
    }
}

void applyRamp(SeaDrive& d, const SeaRamp& ramp, int64_t n) {
    double w, slope;
    ramp.at(n, w, slope);
    const size_t i = size_t(n);
    d.velocity[i] = w * d.velocity[i] + slope * d.displacement[i];
    d.displacement[i] *= w;
    d.elevation[i] *= w;
}

// Only the samples within a ramp's length of an end are touched.
void applyRamps(SeaDrive& d, const SeaRamp& ramp) {
    const int64_t reach = std::min(ramp.count / 2, int64_t(std::ceil(ramp.seconds / ramp.dt)) + 1);
    for (int64_t n = 0; n < reach; ++n) {
        applyRamp(d, ramp, n);
        applyRamp(d, ramp, ramp.count - 1 - n);
    }
}

// The first sample of the three signals that is not a finite number; -1 when none.
int64_t firstNonFiniteSample(const SeaDrive& d) {
    for (size_t i = 0; i < d.displacement.size(); ++i)
        if (!std::isfinite(d.displacement[i]) || !std::isfinite(d.velocity[i]) ||
            !std::isfinite(d.elevation[i]))
            return int64_t(i);
    return -1;
}

void measureExtremes(SeaReport& r, const SeaDrive& d) {
    double low = 0, high = 0, fastest = 0;
    for (size_t i = 0; i < d.displacement.size(); ++i) {
        low = std::min(low, d.displacement[i]);
        high = std::max(high, d.displacement[i]);
        fastest = std::max(fastest, std::abs(d.velocity[i]));
    }
    r.largestStroke = high - low;
    r.largestDisplacement = std::max(high, -low);
    r.largestVelocity = fastest;
}

bool renderIrregular(const SeaParameters& p, SeaDrive& d) {
    const int32_t n = int32_t(d.displacement.size());
    FftBuffer z(n);
    if (!z.valid()) return false;
    packDrive(z, d);
    if (!executeDft(z, +1)) return false;
    for (int32_t i = 0; i < n; ++i) {
        d.displacement[size_t(i)] = z[i].real();
        d.velocity[size_t(i)] = z[i].imag();
    }
    packElevation(z, d, binTransfer(d.target, p.paddle, p.depth));
    if (!executeDft(z, +1)) return false;
    for (int32_t i = 0; i < n; ++i)
        d.elevation[size_t(i)] = z[i].real();
    return true;
}

// A regular wave's frequency need not be a generated one: the signals are
// evaluated directly. The displacement lags the elevation by a quarter period.
void renderRegular(const SeaParameters& p, SeaDrive& d) {
    const double w = 2 * PI / p.regularPeriod;
    const double a = p.regularHeight / 2;
    const double stroke = a / heightToStrokeAt(p.paddle, 1 / p.regularPeriod, p.depth);
    for (size_t i = 0; i < d.displacement.size(); ++i) {
        const double phase = w * double(i) * p.dt;
        d.elevation[i] = a * std::cos(phase);
        d.displacement[i] = stroke * std::sin(phase);
        d.velocity[i] = stroke * w * std::cos(phase);
    }
}

void describeTarget(const SeaParameters& p, const SeaDrive& d, SeaReport& r) {
    r.regular = p.regular;
    r.seed = p.seed;
    r.method = p.method;
    r.paddle = p.paddle.type;
    r.dt = p.dt;
    r.samples = int64_t(d.displacement.size());
    r.duration = double(r.samples) * p.dt;
    r.ramp = seaRampSeconds(p);
    if (p.solitaryHeight > 0) {
        r.solitary = true;
        r.hm0 = p.solitaryHeight;
        r.tp = seaPeakPeriod(p);
        return;
    }
    if (p.regular) {
        r.hm0 = p.regularHeight * std::sqrt(2.0);
        r.tp = p.regularPeriod;
        r.fmin = r.fmax = 1 / p.regularPeriod;
        r.components = 1;
        return;
    }
    r.hm0 = d.target.hm0;
    r.tp = 1 / d.target.fp;
    r.fmin = d.target.frequency(d.target.firstBin);
    r.fmax = d.target.frequency(d.target.lastBin);
    r.components = int64_t(d.components.size());
    if (p.focused) {
        r.focused = true;
        r.focusTime = p.focusTime;
        r.focusDistance = p.focusDistance;
        for (const auto& e : wantedElevation(p, d.target))
            r.focusCrest += 2 * std::abs(e);
    }
}

std::string limitText(const char* what, double needed, double limit, const char* unit) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "the drive needs a %s of %.4g %s, %.4g %s (%.1f %%) more than the limit %.4g %s",
                  what, needed, unit, needed - limit, unit, 100 * (needed / limit - 1), limit,
                  unit);
    return text;
}

} // namespace

std::vector<std::complex<double>> elevationComponents(const TargetSpectrum& target,
                                                      SeaMethod method, uint64_t seed) {
    SeaRandom random(seed);
    std::vector<std::complex<double>> e;
    e.reserve(target.binDensity.size());
    for (double s : target.binDensity) {
        // Half amplitudes: the component is 2 Re(e exp(i w t)).
        if (method == SeaMethod::Phase) {
            e.push_back(std::polar(0.5 * std::sqrt(2 * s * target.df), random.phase()));
        } else {
            double re, im;
            random.gaussianPair(re, im);
            e.push_back(0.5 * std::sqrt(s * target.df) * std::complex<double>(re, im));
        }
    }
    return e;
}

std::vector<std::complex<double>> wantedElevation(const SeaParameters& p,
                                                  const TargetSpectrum& target) {
    if (!p.focused) return elevationComponents(target, p.method, p.seed);
    const double crest = p.focusCrest > 0 ? p.focusCrest : defaultFocusCrest(target);
    return focusedComponents(target, crest, p.focusTime, p.focusDistance, p.depth);
}

std::vector<double> binTransfer(const TargetSpectrum& target, const Paddle& paddle, double depth) {
    std::vector<double> h;
    double k = 0;
    for (size_t bin = target.firstBin; bin <= target.lastBin && target.df > 0; ++bin) {
        const double w = 2 * PI * target.frequency(bin);
        k = k > 0 ? waveNumberNear(w, depth, k) : waveNumber(w, depth);
        h.push_back(heightToStroke(paddle, k, depth));
    }
    return h;
}

bool renderSeaDrive(const SeaParameters& p, SeaDrive& d, std::string* error) {
    const int64_t n = seaSampleCount(p);
    try {
        d.displacement.assign(size_t(n), 0.0);
        d.velocity.assign(size_t(n), 0.0);
        d.elevation.assign(size_t(n), 0.0);
    } catch (const std::bad_alloc&) {
        return fail(error, NO_MEMORY);
    }
    d.dt = p.dt;
    if (p.solitaryHeight > 0)
        solitaryDrive({p.solitaryHeight, p.depth}, p.dt, size_t(n), d.displacement, d.velocity,
                      d.elevation);
    else if (p.regular)
        renderRegular(p, d);
    else if (!renderIrregular(p, d))
        return fail(error, NO_MEMORY);
    applyRamps(d, SeaRamp{seaRampSeconds(p), p.dt, n});
    // A drive of NaN would pass every limit and reach the paddle.
    if (const int64_t bad = firstNonFiniteSample(d); bad >= 0)
        return fail(error, "the drive is not a finite number at sample " + std::to_string(bad) +
                               ": the parameters are beyond what a drive can hold");
    describeTarget(p, d, d.report);
    measureExtremes(d.report, d);
    return true;
}

bool prepareSea(const SeaParameters& p, SeaDrive& out, std::string* error) {
    SeaDrive d;
    if (!p.regular && !(p.solitaryHeight > 0)) {
        const TargetShape shape = seaTargetShape(p);
        const int64_t n = seaSampleCount(p);
        const double df = 1 / (double(n) * p.dt);
        if (!makeTargetSpectrum(shape, p.hm0, seaBandLow(p), seaBandHigh(p), df,
                                size_t((n - 1) / 2), d.target, error))
            return false;
        const std::vector<double> transfer = binTransfer(d.target, p.paddle, p.depth);
        d.components = wantedElevation(p, d.target);
        // X = -i E / (H/S): the displacement lags the elevation by a quarter period.
        for (size_t i = 0; i < d.components.size(); ++i)
            d.components[i] *= std::complex<double>(0, -1 / transfer[i]);
    }
    out = std::move(d);
    return true;
}

bool synthesiseSea(const SeaParameters& p, SeaDrive& out, std::string* error) {
    SeaDrive d;
    if (!prepareSea(p, d, error) || !renderSeaDrive(p, d, error)) return false;
    out = std::move(d);
    const std::string limit = driveLimitError(p, out.report);
    return limit.empty() || fail(error, limit);
}

std::string driveLimitError(const SeaParameters& p, const SeaReport& r) {
    if (p.maxStroke > 0 && r.largestStroke > p.maxStroke)
        return limitText("stroke", r.largestStroke, p.maxStroke, "m");
    if (p.maxVelocity > 0 && r.largestVelocity > p.maxVelocity)
        return limitText("velocity", r.largestVelocity, p.maxVelocity, "m/s");
    return {};
}

bool seaDriveMeasure(const SeaDrive& d, CMeasure& out, bool withElevation) {
    const int32_t rows = int32_t(d.displacement.size());
    const int32_t channels = withElevation && d.elevation.size() == size_t(rows) ? 3 : 2;
    if (!out.allocateSamples(rows, channels, SAMPLE_FORMAT_REAL)) return false;
    out.sampleFormat = SAMPLE_FORMAT_REAL;
    out.sampleRate = 1 / d.dt;
    out.sampleCount = rows;
    out.channelCount = channels;
    copyField(out.name, sizeof out.name,
              d.report.solitary  ? "Solitary wave drive"
              : d.report.regular ? "Regular sea drive"
                                 : "Irregular sea drive");
    copyField(out.path, sizeof out.path, "");
    out.date = 0;
    setChannelInfo(out.channels[0], 1.0, 0.0, "m", "Paddle displacement");
    setChannelInfo(out.channels[1], 1.0, 0.0, "m/s", "Paddle velocity");
    if (channels == 3) setChannelInfo(out.channels[2], 1.0, 0.0, "m", "Target elevation");
    const std::vector<double>* signals[] = {&d.displacement, &d.velocity, &d.elevation};
    for (int32_t c = 0; c < channels; ++c) {
        resetParameters(out.signalParameters[c]);
        float* column = out.column(c);
        for (int32_t j = 0; j < rows; ++j)
            column[j] = float((*signals[c])[size_t(j)]);
    }
    return true;
}

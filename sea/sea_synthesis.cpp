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
    for (size_t k = 1; k < d.second.stroke.size() && 2 * k < size_t(n); ++k) {
        const double w = 2 * PI * d.target.frequency(k);
        z[int32_t(k)] += d.second.stroke[k] * (1 - w);
        z[n - int32_t(k)] += std::conj(d.second.stroke[k]) * (1 + w);
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
    for (size_t k = 1; k < d.second.elevation.size() && 2 * k < size_t(n); ++k) {
        z[int32_t(k)] += d.second.elevation[k];
        z[n - int32_t(k)] += std::conj(d.second.elevation[k]);
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
    double low = 0, high = 0, fastest = 0, trough = 0, crest = 0;
    for (size_t i = 0; i < d.displacement.size(); ++i) {
        low = std::min(low, d.displacement[i]);
        high = std::max(high, d.displacement[i]);
        fastest = std::max(fastest, std::abs(d.velocity[i]));
        trough = std::min(trough, d.elevation[i]);
        crest = std::max(crest, d.elevation[i]);
    }
    r.largestStroke = high - low;
    r.largestDisplacement = std::max(high, -low);
    r.largestVelocity = fastest;
    r.targetCrest = crest;
    r.targetTrough = -trough;
}

void describeOrder(const SeaParameters& p, const SeaDrive& d, SeaReport& r) {
    r.order = p.order;
    if (p.order != 2) return;
    r.subharmonics = p.subharmonics && !p.regular;
    r.superharmonics = p.superharmonics;
    if (p.regular || p.bichromatic) {
        r.pairFmin = r.fmin;
        r.pairFmax = r.fmax;
    } else {
        pairBand(p, d.target, r.pairFmin, r.pairFmax);
    }
    r.differenceFmin = seaDifferenceFmin(p);
    r.ursell = seaUrsellNumber(p);
    r.subharmonicFactor = r.subharmonics ? subharmonicFactor(p) : 1;
}

bool renderIrregular(const SeaParameters& p, SeaDrive& d) {
    const int32_t n = int32_t(d.displacement.size());
    FftBuffer z(n);
    if (!z.valid()) return false;
    const std::vector<double> transfer = binTransfer(d.target, p.paddle, p.depth);
    if (p.order == 2) d.second = secondOrderBins(p, d.target, d.components, transfer, n);
    packDrive(z, d);
    if (!executeDft(z, +1)) return false;
    for (int32_t i = 0; i < n; ++i) {
        d.displacement[size_t(i)] = z[i].real();
        d.velocity[size_t(i)] = z[i].imag();
    }
    packElevation(z, d, transfer);
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

// A regular wave with its second harmonic, or a bichromatic pair, term by term.
void renderDirect(const SeaParameters& p, SeaDrive& d) {
    const std::vector<DirectTerm> terms = directTerms(p);
    for (size_t i = 0; i < d.displacement.size(); ++i) {
        const double t = double(i) * p.dt;
        double x = 0, v = 0, e = 0;
        for (const DirectTerm& term : terms) {
            const std::complex<double> turn = std::polar(1.0, term.omega * t);
            x += (term.stroke * turn).real();
            v += (std::complex<double>(0, term.omega) * term.stroke * turn).real();
            e += (term.elevation * turn).real();
        }
        d.displacement[i] = x;
        d.velocity[i] = v;
        d.elevation[i] = e;
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
    if (p.bichromatic) {
        // m0 of two sinusoids is the sum of their a^2 / 2.
        r.bichromatic = true;
        r.hm0 = std::sqrt(2.0) * std::hypot(p.bichromaticHeight[0], p.bichromaticHeight[1]);
        r.tp = p.bichromaticPeriod[0];
        r.fmin = 1 / std::max(p.bichromaticPeriod[0], p.bichromaticPeriod[1]);
        r.fmax = 1 / std::min(p.bichromaticPeriod[0], p.bichromaticPeriod[1]);
        r.components = 2;
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
    else if (p.regular && p.order == 1)
        renderRegular(p, d);
    else if (p.regular || p.bichromatic)
        renderDirect(p, d);
    else if (!renderIrregular(p, d))
        return fail(error, NO_MEMORY);
    applyRamps(d, SeaRamp{seaRampSeconds(p), p.dt, n});
    // A drive of NaN would pass every limit and reach the paddle.
    if (const int64_t bad = firstNonFiniteSample(d); bad >= 0)
        return fail(error, "the drive is not a finite number at sample " + std::to_string(bad) +
                               ": the parameters are beyond what a drive can hold");
    describeTarget(p, d, d.report);
    describeOrder(p, d, d.report);
    measureExtremes(d.report, d);
    return true;
}

bool prepareSea(const SeaParameters& p, SeaDrive& out, std::string* error) {
    SeaDrive d;
    if (!p.regular && !p.bichromatic && !(p.solitaryHeight > 0)) {
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

namespace {

// One signal of a drive as a channel of a measurement.
struct DriveChannel {
    const std::vector<double>* signal;
    const char* unit;
    const char* name;
};

bool driveChannels(const SeaDrive& d, CMeasure& out, const std::vector<DriveChannel>& channels,
                   const char* title) {
    const int32_t rows = int32_t(d.displacement.size());
    const int32_t count = int32_t(channels.size());
    if (!out.allocateSamples(rows, count, SAMPLE_FORMAT_REAL)) return false;
    out.sampleFormat = SAMPLE_FORMAT_REAL;
    out.sampleRate = 1 / d.dt;
    out.sampleCount = rows;
    out.channelCount = count;
    copyField(out.name, sizeof out.name, title);
    copyField(out.path, sizeof out.path, "");
    out.date = 0;
    for (int32_t c = 0; c < count; ++c) {
        setChannelInfo(out.channels[c], 1.0, 0.0, channels[size_t(c)].unit,
                       channels[size_t(c)].name);
        resetParameters(out.signalParameters[c]);
        const std::vector<double>& signal = *channels[size_t(c)].signal;
        float* column = out.column(c);
        for (int32_t j = 0; j < rows; ++j)
            column[j] = float(signal[size_t(j)]);
    }
    return true;
}

} // namespace

bool seaDriveMeasure(const SeaDrive& d, CMeasure& out, bool withElevation) {
    std::vector<DriveChannel> channels = {{&d.displacement, "m", "Paddle displacement"},
                                          {&d.velocity, "m/s", "Paddle velocity"}};
    if (withElevation && d.elevation.size() == d.displacement.size())
        channels.push_back({&d.elevation, "m", "Target elevation"});
    return driveChannels(d, out, channels, seaDriveTitle(d.report));
}

const char* seaDriveTitle(const SeaReport& r) {
    return r.solitary      ? "Solitary wave drive"
           : r.regular     ? "Regular sea drive"
           : r.bichromatic ? "Bichromatic wave drive"
                           : "Irregular sea drive";
}

bool seaElevationMeasure(const SeaDrive& d, CMeasure& out) {
    return d.elevation.size() == d.displacement.size() &&
           driveChannels(d, out, {{&d.elevation, "m", "Target elevation"}}, "Target elevation");
}

#include "sea/target_spectrum.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "numeric/constants.h"
#include "numeric/log_gamma.h"
#include "sea/torsethaugen.h"
#include "waves/wave_number.h"

namespace {

// A frequency typed from a printed bin still selects that bin.
constexpr double BIN_SLACK = 1e-9;

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

std::string rowText(size_t row) {
    char text[32];
    std::snprintf(text, sizeof text, "row %zu", row + 1);
    return text;
}

} // namespace

TargetShape oneShape(SpectrumShape shape, double fp, double gamma, double depth,
                     SpectrumTable table, double sigma) {
    TargetShape s;
    s.shape = shape;
    s.fp = fp;
    s.gamma = gamma;
    s.depth = depth;
    s.table = std::move(table);
    s.sigma = sigma;
    return s;
}

double jonswapShape(double f, double fp, double gamma) {
    if (!(f > 0) || !(fp > 0)) return 0;
    const double sigma = f <= fp ? 0.07 : 0.09;
    const double r = std::exp(-(f - fp) * (f - fp) / (2 * sigma * sigma * fp * fp));
    const double ratio = fp / f;
    return std::pow(f, -5.0) * std::exp(-1.25 * ratio * ratio * ratio * ratio) * std::pow(gamma, r);
}

double bretschneiderMitsuyasuShape(double f, double fp) {
    if (!(f > 0) || !(fp > 0)) return 0;
    const double ratio = 1.05 * fp / f;
    return std::pow(f, -5.0) * std::exp(-1.03 * ratio * ratio * ratio * ratio);
}

double gaussianShape(double f, double fp, double sigma) {
    if (!(sigma > 0)) return 0;
    return std::exp(-(f - fp) * (f - fp) / (2 * sigma * sigma));
}

double ochiHubbleDensity(const OchiHubbleParts& parts, double f) {
    if (!(f > 0)) return 0;
    const double w = 2 * PI * f;
    double s = 0;
    for (int j = 0; j < 2; ++j) {
        const double h = parts.height[j], lambda = parts.lambda[j];
        if (!(h > 0) || !(lambda > 0) || !(parts.period[j] > 0)) continue;
        const double wm = 2 * PI / parts.period[j], c = (4 * lambda + 1) / 4;
        const double r4 = std::pow(wm / w, 4.0);
        // In logarithms: wm^(4 lambda) and w^(4 lambda + 1) overflow apart.
        const double log = lambda * std::log(c * wm * wm * wm * wm) - logGamma(lambda) -
                           (4 * lambda + 1) * std::log(w) - c * r4;
        s += h * h / 4 * std::exp(log);
    }
    return 2 * PI * s;
}

double kitaigorodskiiFactor(double f, double depth) {
    const double kh = waveNumber(2 * PI * f, depth) * depth;
    if (!(kh > 0)) return 0;
    const double t = std::tanh(kh);
    // 2kh / sinh 2kh vanishes long before sinh overflows.
    const double flux = kh > 20 ? 1.0 : 1 + 2 * kh / std::sinh(2 * kh);
    return t * t / flux;
}

double tableDensity(const SpectrumTable& table, double f) {
    const auto& x = table.frequency;
    if (x.size() < 2 || !(f >= x.front()) || !(f <= x.back())) return 0;
    size_t upper = size_t(std::upper_bound(x.begin(), x.end(), f) - x.begin());
    if (upper >= x.size()) return table.density.back();
    const size_t lower = upper - 1;
    const double w = (f - x[lower]) / (x[upper] - x[lower]);
    return table.density[lower] + w * (table.density[upper] - table.density[lower]);
}

double shapeDensity(const TargetShape& s, double f) {
    switch (s.shape) {
    case SpectrumShape::Jonswap:
        return jonswapShape(f, s.fp, s.gamma);
    case SpectrumShape::PiersonMoskowitz:
        return jonswapShape(f, s.fp, 1.0);
    case SpectrumShape::Tma:
        return jonswapShape(f, s.fp, s.gamma) * kitaigorodskiiFactor(f, s.depth);
    case SpectrumShape::Table:
        return tableDensity(s.table, f);
    case SpectrumShape::BretschneiderMitsuyasu:
        return bretschneiderMitsuyasuShape(f, s.fp);
    case SpectrumShape::Gaussian:
        return gaussianShape(f, s.fp, s.sigma > 0 ? s.sigma : SEA_GAUSSIAN_WIDTH * s.fp);
    case SpectrumShape::OchiHubble:
        return ochiHubbleDensity(s.ochiHubble, f);
    case SpectrumShape::Composite: {
        double sum = 0;
        for (size_t i = 0; i < s.parts.size() && i < s.partScale.size(); ++i)
            sum += s.partScale[i] * shapeDensity(s.parts[i], f);
        return sum;
    }
    case SpectrumShape::Torsethaugen:
        return s.fp > 0 ? torsethaugenDensity(torsethaugenPeaks(s.hm0, 1 / s.fp), f) : 0;
    }
    return 0;
}

bool checkSpectrumTable(const SpectrumTable& table, std::string* error) {
    const auto& x = table.frequency;
    const auto& s = table.density;
    if (x.size() < 2 || s.size() != x.size())
        return fail(error, "the spectrum table needs at least 2 rows of frequency and density");
    for (size_t i = 0; i < x.size(); ++i) {
        if (!std::isfinite(x[i]) || x[i] < 0)
            return fail(error, "the spectrum table's " + rowText(i) +
                                   " has a frequency that is not a number >= 0");
        if (i > 0 && !(x[i] > x[i - 1]))
            return fail(error, "the spectrum table's frequencies must increase, but " + rowText(i) +
                                   "'s is not above the one before");
        if (!std::isfinite(s[i]) || s[i] < 0)
            return fail(error, "the spectrum table's " + rowText(i) +
                                   " has a density that is not a number >= 0");
    }
    return true;
}

double TargetSpectrum::density(double f) const {
    if (!(f >= fmin) || !(f <= fmax)) return 0;
    return scale * shapeDensity(shape, f);
}

bool makeTargetSpectrum(const TargetShape& shape, double hm0, double fmin, double fmax, double df,
                        size_t highestBin, TargetSpectrum& out, std::string* error) {
    TargetSpectrum t;
    t.shape = shape;
    t.fmin = fmin;
    t.fmax = fmax;
    t.df = df;
    t.firstBin = size_t(std::max(1.0, std::ceil(fmin / df - BIN_SLACK)));
    t.lastBin = size_t(std::min(double(highestBin), std::floor(fmax / df + BIN_SLACK)));
    if (t.lastBin < t.firstBin)
        return fail(error, "the band holds none of the generated frequencies; make it wider or "
                           "the duration longer");
    // Each part of a composite sea holds its own Hm0 over the band.
    t.shape.hm0 = hm0;
    t.shape.partScale.clear();
    for (size_t i = 0; i < t.shape.parts.size() && i < t.shape.partHm0.size(); ++i) {
        t.shape.parts[i].hm0 = t.shape.partHm0[i];
        double m0 = 0;
        for (size_t k = t.firstBin; k <= t.lastBin; ++k)
            m0 += shapeDensity(t.shape.parts[i], t.frequency(k)) * df;
        if (!(m0 > 0) || !std::isfinite(m0))
            return fail(error, "part " + std::to_string(i + 1) +
                                   " of the spectrum holds no variance in the band");
        t.shape.partScale.push_back(t.shape.partHm0[i] * t.shape.partHm0[i] / 16 / m0);
    }
    double m0 = 0, largest = -1;
    for (size_t k = t.firstBin; k <= t.lastBin; ++k) {
        const double s = shapeDensity(t.shape, t.frequency(k));
        t.binDensity.push_back(s);
        m0 += s * df;
        if (s > largest) {
            largest = s;
            t.fp = t.frequency(k);
        }
    }
    if (!(m0 > 0) || !std::isfinite(m0))
        return fail(error, "the spectrum holds no variance in the band");
    t.scale = hm0 * hm0 / 16 / m0;
    // Densities near the smallest double leave a scale that overflows.
    if (!std::isfinite(t.scale))
        return fail(error, "the spectrum's densities are too small to be scaled to Hm0");
    for (double& s : t.binDensity)
        s *= t.scale;
    t.hm0 = hm0;
    out = std::move(t);
    return true;
}

#include "sea/torsethaugen.h"

#include <algorithm>
#include <cmath>

#include "numeric/constants.h"

namespace {

// The model's constants, fitted in metres and seconds.
constexpr double FULLY_DEVELOPED = 6.6; // s m^-1/3: Tf = af Hs^(1/3)
constexpr double LOWEST_WIND = 2.0;     // s m^-1/2: Tl = 2 Hs^(1/2), the steepest wind sea
constexpr double LONGEST_SWELL = 25;    // s: Tu
constexpr double WIND_FLOOR = 0.7, WIND_WIDTH = 0.5;   // a10, a1
constexpr double SWELL_FLOOR = 0.6, SWELL_WIDTH = 0.3; // a20, a2
constexpr double SWELL_GAMMA_RISE = 6;                 // a3
constexpr double WIND_SWELL_OFFSET = 2;                // s: b1
constexpr double GAMMA_FACTOR = 35;                    // kg
constexpr double GAMMA_POWER = 6.0 / 7;

// The share of Hs in the primary peak: 1 at Tf, falling to `floor` away from it.
double primaryShare(double epsilon, double floor, double width) {
    return (1 - floor) * std::exp(-(epsilon / width) * (epsilon / width)) + floor;
}

// kg (2 pi Hs / (g Tp^2))^(6/7), at least 1: a gentle sea has no enhanced peak.
double steepnessGamma(double hs, double tp) {
    const double steepness = 2 * PI * hs / (GRAVITY * tp * tp);
    return std::fmax(1.0, GAMMA_FACTOR * std::pow(steepness, GAMMA_POWER));
}

// (1 + 1.1 ln(gamma)^1.19) / gamma: the enhanced peak keeps about its
// unenhanced variance.
double gammaNormalisation(double gamma) {
    return (1 + 1.1 * std::pow(std::log(gamma), 1.19)) / gamma;
}

// Tp (f Tp)^-4 exp(-(f Tp)^-4): peaks at 1/Tp, with variance Gamma(3/4)/4.
double peakShape(double f, double tp) {
    const double x = f * tp;
    const double x4 = x * x * x * x;
    return tp / x4 * std::exp(-1 / x4);
}

} // namespace

TorsethaugenPeaks torsethaugenPeaks(double hm0, double tp) {
    TorsethaugenPeaks r;
    const double tf = FULLY_DEVELOPED * std::cbrt(hm0);
    r.fullyDeveloped = tf;
    r.windDominated = tp <= tf;
    r.primary.tp = tp;
    if (r.windDominated) {
        const double tl = LOWEST_WIND * std::sqrt(hm0);
        const double epsilon = tf > tl ? (tf - tp) / (tf - tl) : 0;
        const double share = primaryShare(epsilon, WIND_FLOOR, WIND_WIDTH);
        r.primary.hm0 = share * hm0;
        r.primary.gamma = steepnessGamma(r.primary.hm0, tp);
        r.secondary.hm0 = std::sqrt(1 - share * share) * hm0;
        r.secondary.tp = tf + WIND_SWELL_OFFSET;
    } else {
        // A sea whose fully developed period passes Tu (Hs above 54 m) has
        // no swell class left: it is taken as swell at Tf.
        const double epsilon = LONGEST_SWELL > tf ? (tp - tf) / (LONGEST_SWELL - tf) : 0;
        const double share = primaryShare(epsilon, SWELL_FLOOR, SWELL_WIDTH);
        r.primary.hm0 = share * hm0;
        r.primary.gamma = steepnessGamma(hm0, tf) * (1 + SWELL_GAMMA_RISE * epsilon);
        r.secondary.hm0 = std::sqrt(1 - share * share) * hm0;
        r.secondary.tp = FULLY_DEVELOPED * std::cbrt(r.secondary.hm0);
    }
    return r;
}

double torsethaugenDensity(const TorsethaugenPeaks& peaks, double f) {
    if (!(f > 0)) return 0;
    double s = 0;
    const TorsethaugenPeak& a = peaks.primary;
    if (a.tp > 0 && a.hm0 > 0) {
        const double fp = 1 / a.tp, sigma = f <= fp ? 0.07 : 0.09;
        const double r = std::exp(-(f - fp) * (f - fp) / (2 * sigma * sigma * fp * fp));
        s +=
            gammaNormalisation(a.gamma) * a.hm0 * a.hm0 * peakShape(f, a.tp) * std::pow(a.gamma, r);
    }
    const TorsethaugenPeak& b = peaks.secondary;
    if (b.tp > 0 && b.hm0 > 0) s += b.hm0 * b.hm0 * peakShape(f, b.tp);
    // 1 / (16 Gamma(3/4) / 4): each peak's variance is near its Hs^2 / 16.
    return s / (4 * std::tgamma(0.75));
}

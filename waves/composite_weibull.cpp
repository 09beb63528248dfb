#include "waves/composite_weibull.h"

#include <algorithm>
#include <cmath>

#include "numeric/chi_square.h"

namespace {

constexpr double K1 = 2.0; // exponent below Htr
constexpr double K2 = 3.6; // exponent above Htr

// The upper incomplete gamma function Gamma(a, x), not regularised.
double upperGamma(double a, double x) {
    return regularizedGammaQ(a, x) * std::tgamma(a);
}

// With x = (Htr/H1)^2 = (Htr/H2)^3.6 (continuity at Htr), the mean square
// of H in units of Hrms less one: H1^2 gamma(2, x) + H2^2 Gamma(1 + 2/3.6, x) - 1.
double meanSquareExcess(double htrNorm, double x) {
    const double h1 = htrNorm / std::sqrt(x), h2 = htrNorm / std::pow(x, 1 / K2);
    const double lower = regularizedGammaP(2 / K1 + 1, x) * std::tgamma(2 / K1 + 1);
    return h1 * h1 * lower + h2 * h2 * upperGamma(2 / K2 + 1, x) - 1;
}

// The x of meanSquareExcess = 0, which falls from +inf at 0 to -1 at
// infinity: bisection on log x.
double transitionArgument(double htrNorm) {
    double lo = 1e-6, hi = std::max(1.0, 4 * htrNorm * htrNorm);
    while (meanSquareExcess(htrNorm, lo) < 0 && lo > 1e-300)
        lo *= 1e-6;
    while (meanSquareExcess(htrNorm, hi) > 0 && hi < 1e300)
        hi *= 4;
    for (int i = 0; i < 200 && hi / lo > 1 + 1e-15; ++i) {
        const double mid = std::sqrt(lo * hi);
        (meanSquareExcess(htrNorm, mid) > 0 ? lo : hi) = mid;
    }
    return std::sqrt(lo * hi);
}

// The height exceeded by the fraction p of the waves.
double exceededBy(const CompositeWeibull& w, double p) {
    const double tail = -std::log(p);
    const double below = w.h1Norm * std::sqrt(tail);
    return below < w.htrNorm ? below : w.h2Norm * std::pow(tail, 1 / K2);
}

// The mean of the highest fraction q: (1/q) times the integral of h dF above
// the height exceeded by q, piece by piece, with int_a^b h dF = H Gamma(1 +
// 1/k, (a/H)^k) - H Gamma(1 + 1/k, (b/H)^k) on a Weibull piece of scale H.
double highestMean(const CompositeWeibull& w, double q) {
    const double from = exceededBy(w, q);
    const double a2 = 1 / K2 + 1;
    if (from >= w.htrNorm) return w.h2Norm * upperGamma(a2, std::pow(from / w.h2Norm, K2)) / q;
    const double a1 = 1 / K1 + 1;
    const double x = std::pow(w.htrNorm / w.h1Norm, K1);
    const double lower =
        w.h1Norm * (upperGamma(a1, std::pow(from / w.h1Norm, K1)) - upperGamma(a1, x));
    return (lower + w.h2Norm * upperGamma(a2, x)) / q;
}

} // namespace

bool compositeWeibull(double htrNorm, CompositeWeibull& out) {
    if (!(htrNorm > 0) || !std::isfinite(htrNorm)) return false;
    CompositeWeibull w;
    w.htrNorm = htrNorm;
    const double x = transitionArgument(htrNorm);
    w.h1Norm = htrNorm / std::sqrt(x);
    w.h2Norm = htrNorm / std::pow(x, 1 / K2);
    w.h13Norm = highestMean(w, 1.0 / 3);
    w.h110Norm = highestMean(w, 0.1);
    w.h2PercentNorm = exceededBy(w, 0.02);
    w.h1PercentNorm = exceededBy(w, 0.01);
    out = w;
    return true;
}

double compositeWeibullExceedance(const CompositeWeibull& w, double hNorm) {
    if (hNorm <= 0) return 1;
    if (hNorm < w.htrNorm) return std::exp(-std::pow(hNorm / w.h1Norm, K1));
    return std::exp(-std::pow(hNorm / w.h2Norm, K2));
}

bool shallowWaterHeights(double hm0, double depth, double slope, ShallowWaterHeights& out,
                         std::string* error) {
    auto fail = [&](const char* why) {
        if (error) *error = why;
        return false;
    };
    if (!(depth > 0) || !std::isfinite(depth)) return fail("the depth must be a number > 0");
    if (!(slope >= 0) || !std::isfinite(slope)) return fail("the slope must be a number >= 0");
    if (!(hm0 > 0) || !std::isfinite(hm0)) return fail("Hm0 of the block is not positive");
    ShallowWaterHeights s;
    s.htr = (0.35 + 5.8 * slope) * depth;
    s.hrms = (0.6725 + 0.2025 * hm0 / depth) * hm0;
    if (!compositeWeibull(s.htr / s.hrms, s.normalised))
        return fail("the transitional height is out of range");
    s.h13 = s.normalised.h13Norm * s.hrms;
    s.h110 = s.normalised.h110Norm * s.hrms;
    s.h2Percent = s.normalised.h2PercentNorm * s.hrms;
    s.h1Percent = s.normalised.h1PercentNorm * s.hrms;
    out = s;
    return true;
}

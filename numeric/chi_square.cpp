#include "numeric/chi_square.h"

#include <cmath>
#include <limits>

#include "numeric/log_gamma.h"

namespace {

constexpr double EPSILON = 1e-15;
constexpr int MAX_TERMS = 1000;

// The series of A&S 6.5.29, good for x < a + 1.
double gammaSeries(double a, double x) {
    double term = 1 / a, sum = term;
    for (int n = 1; n < MAX_TERMS; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * EPSILON) break;
    }
    return sum * std::exp(-x + a * std::log(x) - logGamma(a));
}

// Q = 1 - P by the continued fraction of A&S 6.5.31 (modified Lentz), good
// for x >= a + 1.
double gammaContinuedFraction(double a, double x) {
    constexpr double TINY = 1e-300;
    double b = x + 1 - a, c = 1 / TINY, d = 1 / b, h = d;
    for (int i = 1; i < MAX_TERMS; ++i) {
        double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < TINY) d = TINY;
        c = b + an / c;
        if (std::fabs(c) < TINY) c = TINY;
        d = 1 / d;
        double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < EPSILON) break;
    }
    return std::exp(-x + a * std::log(x) - logGamma(a)) * h;
}

// The inverse of the standard normal distribution function: Acklam's
// rational approximation (relative error 1.15e-9), enough for a start.
double normalQuantile(double p) {
    static const double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,
                               -2.759285104469687e+02, 1.383577518672690e+02,
                               -3.066479806614716e+01, 2.506628277459239e+00};
    static const double b[] = {-5.447609879822406e+01, 1.615858368580409e+02,
                               -1.556989798598866e+02, 6.680131188771972e+01,
                               -1.328068155288572e+01};
    static const double c[] = {-7.784894002430293e-03, -3.223964580411365e-01,
                               -2.400758277161838e+00, -2.549732539343734e+00,
                               4.374664141464968e+00,  2.938163982698783e+00};
    static const double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                               3.754408661907416e+00};
    auto tail = [&](double q) {
        return (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    };
    if (p < 0.02425) return tail(std::sqrt(-2 * std::log(p)));
    if (p > 1 - 0.02425) return -tail(std::sqrt(-2 * std::log(1 - p)));
    double q = p - 0.5, r = q * q;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
           (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
}

// Wilson and Hilferty: (x/nu)^(1/3) is nearly normal with mean 1 - 2/(9 nu)
// and variance 2/(9 nu). Poor for small nu and p, so kept positive.
double wilsonHilferty(double p, double nu) {
    double v = 2 / (9 * nu);
    double t = 1 - v + normalQuantile(p) * std::sqrt(v);
    double x = nu * t * t * t;
    // Below the cube's range: the leading term of P for small x,
    // P ~ (x/2)^(nu/2) / Gamma(nu/2 + 1).
    if (!(x > 0)) x = 2 * std::exp((std::log(p) + logGamma(nu / 2 + 1)) / (nu / 2));
    return x;
}

} // namespace

double regularizedGammaP(double a, double x) {
    if (!(a > 0) || !(x >= 0) || std::isinf(a)) return std::numeric_limits<double>::quiet_NaN();
    if (x == 0) return 0;
    if (std::isinf(x)) return 1;
    return x < a + 1 ? gammaSeries(a, x) : 1 - gammaContinuedFraction(a, x);
}

double regularizedGammaQ(double a, double x) {
    if (!(a > 0) || !(x >= 0) || std::isinf(a)) return std::numeric_limits<double>::quiet_NaN();
    if (x == 0) return 1;
    if (std::isinf(x)) return 0;
    return x < a + 1 ? 1 - gammaSeries(a, x) : gammaContinuedFraction(a, x);
}

double chiSquareQuantile(double p, double nu) {
    if (!(p > 0 && p < 1) || !(nu > 0) || std::isinf(nu))
        return std::numeric_limits<double>::quiet_NaN();
    const double a = nu / 2;
    // Newton on F(y) = P(a, y) - p in y = x/2, with F'(y) = y^(a-1) e^-y /
    // Gamma(a); a bracket [lo, hi] catches a step that overshoots.
    double y = wilsonHilferty(p, nu) / 2;
    double lo = 0, hi = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 100; ++i) {
        double f = regularizedGammaP(a, y) - p;
        (f < 0 ? lo : hi) = y;
        double slope = std::exp((a - 1) * std::log(y) - y - logGamma(a));
        double next = y - f / slope;
        if (!(next > lo && next < hi)) next = std::isinf(hi) ? 2 * y + 1 : 0.5 * (lo + hi);
        if (std::fabs(next - y) <= 1e-14 * y) return 2 * next;
        y = next;
    }
    return 2 * y;
}

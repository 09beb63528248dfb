#include "sea/depth_profile.h"

#include <cmath>

#include "numeric/constants.h"

namespace {

// Series below this |z|, closed forms above: both lose no digits there.
constexpr double SERIES_BELOW = 0.5;

// (e^z - 1) / z.
Complex e1(Complex z) {
    if (std::abs(z) >= SERIES_BELOW) return (std::exp(z) - 1.0) / z;
    Complex term = 1, sum = 1;
    for (int n = 2; n < 20; ++n) {
        term *= z / double(n);
        sum += term;
    }
    return sum;
}

// Integral over t in 0..1 of t e^(z t).
Complex rising(Complex z) {
    if (std::abs(z) >= SERIES_BELOW) return (std::exp(z) * (z - 1.0) + 1.0) / (z * z);
    Complex power = 1, sum = 0;
    double factorial = 1;
    for (int n = 0; n < 20; ++n) {
        sum += power / (factorial * (n + 2));
        power *= z;
        factorial *= n + 1;
    }
    return sum;
}

// Integral over u in 0..1 of (1 - u) e^(-z u).
Complex falling(Complex z) {
    if (std::abs(z) >= SERIES_BELOW) return (z - 1.0 + std::exp(-z)) / (z * z);
    Complex power = 1, sum = 0;
    double factorial = 1;
    for (int n = 0; n < 20; ++n) {
        sum += power / (factorial * double((n + 1) * (n + 2)));
        power *= -z;
        factorial *= n + 1;
    }
    return sum;
}

// Integral over s in from..h of w(s) e^(q s - D h), Re q <= Re D: written
// with the larger end's exponential so that neither overflows.
Complex exponentialIntegral(Complex q, Complex d, double h, double from, bool linear) {
    const double length = h - from;
    const Complex z = q * length;
    if (q.real() >= 0) {
        const Complex scale = std::exp((q - d) * h) * length;
        return scale * (linear ? falling(z) : e1(-z));
    }
    const Complex scale = std::exp(q * from - d * h) * length;
    return scale * (linear ? rising(z) : e1(z));
}

} // namespace

Complex depthIntegral(std::initializer_list<ProfileFactor> factors, double depth, double from,
                      bool linear) {
    // Each factor is (e^(ks) +- e^(-ks)) / (e^(dh) (1 + e^(-2dh))), d the one
    // of +-k with Re d >= 0.
    Complex d = 0, norm = 1;
    Complex k[4];
    double sign[4];
    int n = 0;
    for (const ProfileFactor& f : factors) {
        const Complex dk = f.k.real() >= 0 ? f.k : -f.k;
        d += dk;
        norm /= 1.0 + std::exp(-2.0 * dk * depth);
        k[n] = f.k;
        sign[n] = f.sinh ? -1.0 : 1.0;
        ++n;
    }
    Complex sum = 0;
    for (int mask = 0; mask < (1 << n); ++mask) {
        Complex q = 0;
        double s = 1;
        for (int i = 0; i < n; ++i) {
            if (mask & (1 << i)) {
                q -= k[i];
                s *= sign[i];
            } else {
                q += k[i];
            }
        }
        sum += s * exponentialIntegral(q, d, depth, from, linear);
    }
    return norm * sum;
}

Complex boundResponse(Complex k, double omega2, double depth) {
    // Divided through by e^(dh) / 2, d = +-k with Re d >= 0 (k sinh kh and
    // cosh kh are even in k).
    const Complex d = k.real() >= 0 ? k : -k;
    const Complex e = std::exp(-2.0 * d * depth);
    const Complex denominator = GRAVITY * d * (1.0 - e) - omega2 * (1.0 + e);
    return (1.0 + e) / denominator;
}

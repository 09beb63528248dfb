// Synthetic seas for the wave analysis tests: regular and irregular records
// whose heights, periods and spectra are known from how they are built.
#pragma once

#include <cmath>
#include <random>
#include <vector>

#include "analysis/fft_plan.h"
#include "waves/block_values.h"

constexpr double SEA_PI = 3.141592653589793;
constexpr double SEA_G = 9.81;

// JONSWAP shape (Hasselmann et al. 1973) with gamma 3.3, unscaled.
inline double jonswapShape(double f, double fp) {
    if (f <= 0) return 0;
    double sigma = f <= fp ? 0.07 : 0.09;
    double r = std::exp(-(f - fp) * (f - fp) / (2 * sigma * sigma * fp * fp));
    return std::pow(f, -5) * std::exp(-1.25 * std::pow(fp / f, 4)) * std::pow(3.3, r);
}

struct Component {
    double omega; // rad/s
    double k;     // rad/m, 0 where the test needs none
    double amplitude;
    double phase;
};

// Amplitudes sqrt(2 S df) on the given frequencies (Hz) scaled to Hm0 =
// 4 sqrt(sum a^2 / 2), random phases from `seed`.
inline std::vector<Component> jonswapComponents(const std::vector<double>& f,
                                                const std::vector<double>& k, double fp, double hm0,
                                                unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> phase(0, 2 * SEA_PI);
    std::vector<Component> c(f.size());
    double m0 = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        double df = i + 1 < f.size() ? f[i + 1] - f[i] : f[i] - f[i - 1];
        c[i] = {2 * SEA_PI * f[i], k.empty() ? 0.0 : k[i],
                std::sqrt(2 * jonswapShape(f[i], fp) * df), phase(gen)};
        m0 += c[i].amplitude * c[i].amplitude / 2;
    }
    double scale = hm0 / (4 * std::sqrt(m0));
    for (auto& x : c)
        x.amplitude *= scale;
    return c;
}

// Sum of m_n = sum f^n a^2/2 of the components.
inline double componentMoment(const std::vector<Component>& c, int n) {
    double m = 0;
    for (const auto& x : c)
        m += std::pow(x.omega / (2 * SEA_PI), n) * x.amplitude * x.amplitude / 2;
    return m;
}

inline BlockValues emptyBlock(size_t n, double rate) {
    BlockValues b;
    b.values.assign(n, 0.0);
    b.sampleRate = rate;
    return b;
}

inline void addNoise(BlockValues& b, double sigma, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> noise(0, sigma);
    for (double& v : b.values)
        v += noise(gen);
}

// A Gaussian sea of n samples at `rate` whose density is c * shape(f), c
// set so that its m0 is (hm0/4)^2: on every harmonic k of the record
// a cos + b sin with a and b normal of variance S(f_k) df, summed by one
// inverse transform. Returns c, so that the true density is known.
template <typename Shape>
double gaussianSea(BlockValues& block, size_t n, double rate, Shape shape, double hm0,
                   unsigned seed) {
    const double df = rate / double(n);
    double m0 = 0;
    for (size_t k = 1; k < n / 2; ++k)
        m0 += shape(double(k) * df) * df;
    const double c = hm0 * hm0 / 16 / m0;
    std::mt19937 gen(seed);
    std::normal_distribution<double> normal(0, 1);
    FftBuffer z(static_cast<int32_t>(n));
    for (size_t k = 0; k < n; ++k)
        z[int32_t(k)] = 0;
    for (size_t k = 1; k < n / 2; ++k) {
        double sigma = std::sqrt(c * shape(double(k) * df) * df);
        double a = normal(gen) * sigma, b = normal(gen) * sigma;
        z[int32_t(k)] = {a, -b};
    }
    executeDft(z, +1);
    block = emptyBlock(n, rate);
    for (size_t j = 0; j < n; ++j)
        block.values[j] = z[int32_t(j)].real();
    return c;
}

// gaussianSea of the JONSWAP shape with its peak at fp.
inline double gaussianJonswapSea(BlockValues& block, size_t n, double rate, double fp, double hm0,
                                 unsigned seed) {
    return gaussianSea(
        block, n, rate, [fp](double f) { return jonswapShape(f, fp); }, hm0, seed);
}

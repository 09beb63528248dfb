#include "analysis/fourier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

using Bins = std::vector<std::complex<double>>;

// One channel of a two-channel source: the second channel holds the signal,
// the first holds noise that must never be read.
struct Signal {
    std::vector<Sample> pairs;
    FourierParams params;

    Signal(const std::vector<Sample>& x, bool inverse) : pairs(2 * x.size()) {
        for (size_t j = 0; j < x.size(); ++j) {
            pairs[2 * j] = {1e6f, -1e6f};
            pairs[2 * j + 1] = x[j];
        }
        params.source = pairRun(pairs.data(), 2, 1);
        params.channel = 1;
        params.first = 0;
        params.count = int32_t(x.size());
        params.inverse = inverse;
    }
};

Bins fast(const std::vector<Sample>& x, bool inverse) {
    Signal s(x, inverse);
    FftBuffer out(s.params.count);
    EXPECT_TRUE(fourierTransform(s.params, out));
    return Bins(out.data(), out.data() + out.size());
}

Bins direct(const std::vector<Sample>& x, bool inverse) {
    Signal s(x, inverse);
    Bins out(x.size());
    for (int32_t k = 0; k < s.params.count; ++k)
        out[size_t(k)] = fourierBinDirect(s.params, k);
    return out;
}

// The definition, in long double with exact angles 2 pi m / N, m = jk mod N:
// independent of both implementations under test.
Bins reference(const std::vector<Sample>& x, bool inverse) {
    const int64_t n = int64_t(x.size());
    const long double pi = 3.141592653589793238462643383279502884L;
    std::vector<long double> c(static_cast<size_t>(n)), s(static_cast<size_t>(n));
    for (int64_t m = 0; m < n; ++m) {
        c[size_t(m)] = std::cos(2 * pi * m / n);
        s[size_t(m)] = (inverse ? -1 : 1) * std::sin(2 * pi * m / n);
    }
    Bins out(static_cast<size_t>(n));
    for (int64_t k = 0; k < n; ++k) {
        long double re = 0, im = 0;
        for (int64_t j = 0, m = 0; j < n; ++j, m = (m + k) % n) {
            long double xr = x[size_t(j)].re, xi = inverse ? x[size_t(j)].im : 0.0f;
            re += xr * c[size_t(m)] - xi * s[size_t(m)];
            im += xr * s[size_t(m)] + xi * c[size_t(m)];
        }
        long double scale = inverse ? 0.5L : 2.0L / n;
        out[size_t(k)] = {double(re * scale), double(im * scale)};
    }
    return out;
}

double relativeError(const Bins& got, const Bins& want) {
    double err = 0, norm = 0;
    for (size_t k = 0; k < want.size(); ++k) {
        err += std::norm(got[k] - want[k]);
        norm += std::norm(want[k]);
    }
    return std::sqrt(err / norm);
}

std::vector<Sample> noise(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::vector<Sample> x(static_cast<size_t>(n));
    for (Sample& s : x)
        s = {u(gen), u(gen)};
    return x;
}

std::vector<Sample> wave(int n, double (*f)(double), int bin, float amplitude) {
    std::vector<Sample> x(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j)
        x[size_t(j)] = {float(amplitude * f(2 * M_PI * bin * j / n)), 777.0f};
    return x;
}

using Method = Bins (*)(const std::vector<Sample>&, bool);

} // namespace

TEST(FourierAccuracy, FastTransformMatchesTheDefinitionForEveryKindOfLength) {
    // Powers of two, primes, one sample, composites with large prime factors.
    for (int n : {1, 2, 8, 1024, 2048, 1009, 2039, 2 * 1009, 43 * 47}) {
        std::vector<Sample> x = noise(n, unsigned(n));
        for (bool inverse : {false, true}) {
            SCOPED_TRACE(testing::Message() << "N=" << n << " inverse=" << inverse);
            EXPECT_LE(relativeError(fast(x, inverse), reference(x, inverse)), 1e-9);
        }
    }
}

TEST(FourierAccuracy, DirectSumMatchesTheDefinition) {
    for (int n : {1, 7, 64, 1009}) {
        std::vector<Sample> x = noise(n, 99u + unsigned(n));
        for (bool inverse : {false, true})
            EXPECT_LE(relativeError(direct(x, inverse), reference(x, inverse)), 1e-12) << n;
    }
}

class FourierClosedForm : public testing::TestWithParam<Method> {};

TEST_P(FourierClosedForm, ConstantSignalHasOnlyBinZero) {
    // (2/N) * N * c at bin 0; the N-th roots of unity sum to 0 elsewhere.
    Bins X = GetParam()(std::vector<Sample>(50, Sample{2.5f, 9.0f}), false);
    EXPECT_NEAR(X[0].real(), 5.0, 1e-12);
    EXPECT_NEAR(X[0].imag(), 0.0, 1e-12);
    for (size_t k = 1; k < X.size(); ++k)
        EXPECT_LT(std::abs(X[k]), 1e-12) << k;
}

TEST_P(FourierClosedForm, CosineAndSineLandOnTheirBinsWithThePositiveExponent) {
    // A cos(2 pi 3 j / 64) = A/2 (e^{i..} + e^{-i..}): Re X = A at bins 3 and 61.
    Bins X = GetParam()(wave(
                            64, [](double t) { return std::cos(t); }, 3, 1.0f),
                        false);
    for (size_t k = 0; k < 64; ++k) {
        double want = (k == 3 || k == 61) ? 1.0 : 0.0;
        EXPECT_NEAR(X[k].real(), want, 1e-6) << k;
        EXPECT_NEAR(X[k].imag(), 0.0, 1e-6) << k;
    }
    // With e^{+i theta}, a sine of amplitude A gives Im X_k = A and Im X_{N-k} = -A.
    X = GetParam()(wave(
                       64, [](double t) { return std::sin(t); }, 5, 2.0f),
                   false);
    EXPECT_NEAR(X[5].imag(), 2.0, 1e-6);
    EXPECT_NEAR(X[59].imag(), -2.0, 1e-6);
    EXPECT_NEAR(X[5].real(), 0.0, 1e-6);
}

TEST_P(FourierClosedForm, InverseOfTheForwardSpectrumGivesTheSignalBack) {
    // 0.5 * (2/N) * N = 1, and the imaginary part of a real signal's round trip is 0.
    for (int n : {1, 30, 257}) {
        std::vector<Sample> x = noise(n, 7u);
        Bins X = GetParam()(x, false);
        std::vector<Sample> spectrum(X.size());
        for (size_t k = 0; k < X.size(); ++k)
            spectrum[k] = {float(X[k].real()), float(X[k].imag())};
        Bins back = GetParam()(spectrum, true);
        for (size_t j = 0; j < x.size(); ++j) {
            EXPECT_NEAR(back[j].real(), x[j].re, 1e-5) << n << " " << j;
            EXPECT_NEAR(back[j].imag(), 0.0, 1e-5) << n << " " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FastAndDirect, FourierClosedForm, testing::Values(&fast, &direct));

TEST(FourierPlans, ReusedPerLengthAndDirectionAndBounded) {
    std::vector<Sample> x = noise(300, 1u);
    fast(x, false);
    size_t before = cachedPlanCount();
    fast(x, false);
    fast(noise(300, 2u), false);
    EXPECT_EQ(cachedPlanCount(), before);
    for (int n = 400; n < 400 + 3 * int(MAX_CACHED_PLANS); ++n)
        fast(noise(n, 3u), n % 2);
    EXPECT_EQ(cachedPlanCount(), MAX_CACHED_PLANS);
}

namespace {

std::vector<Sample> realParts(std::vector<Sample> x) {
    for (Sample& s : x)
        s.im = 0.0f;
    return x;
}

} // namespace

TEST(FourierRealInput, InverseOfRealSamplesAndOfOneComplexSampleMatchTheDefinition) {
    // Real input takes the real-input transform and mirrors the upper half; a
    // single non-zero imaginary part anywhere must bring back the complex one.
    for (int n : {1, 2, 3, 8, 1009, 2 * 1009, 1024}) {
        std::vector<Sample> real = realParts(noise(n, 7u + unsigned(n)));
        std::vector<Sample> almost = real;
        almost.back().im = 0.5f;
        SCOPED_TRACE(testing::Message() << "N=" << n);
        EXPECT_LE(relativeError(fast(real, true), reference(real, true)), 1e-9);
        EXPECT_LE(relativeError(fast(almost, true), reference(almost, true)), 1e-9);
    }
}

TEST(FourierRealInput, OddLengthsWithALargePrimeFactorKeepTheComplexTransform) {
    // By hand: 2 x 1009 is even; 997 x 3 and 3^7 = 2187 have factors up to
    // 997; 1009 and 3 x 1013 have a prime factor above 1000.
    EXPECT_TRUE(realDftPreferred(2 * 1009));
    EXPECT_TRUE(realDftPreferred(3 * 997));
    EXPECT_TRUE(realDftPreferred(2187));
    EXPECT_TRUE(realDftPreferred(1));
    EXPECT_FALSE(realDftPreferred(1009));
    EXPECT_FALSE(realDftPreferred(3 * 1013));
}

TEST(FourierRealInput, RealTransformEqualsTheComplexOneForBothSignsAndScales) {
    // The same sums two ways: through the real-input plan (lower half plus its
    // conjugate mirror) and through the complex plan of the same data; the
    // longest ones run on two threads.
    for (int n : {1, 2, 5, 6, 64, 999, 1000, (1 << 18) + 6, 1 << 19}) {
        std::vector<Sample> x = noise(n, 11u + unsigned(n));
        for (int sign : {-1, +1}) {
            FftBuffer viaReal(n), viaComplex(n);
            for (int j = 0; j < n; ++j) {
                realInput(viaReal)[j] = x[size_t(j)].re;
                viaComplex[j] = {double(x[size_t(j)].re), 0.0};
            }
            ASSERT_TRUE(executeRealDft(viaReal, sign, 0.25));
            ASSERT_TRUE(executeDft(viaComplex, sign));
            Bins got(viaReal.data(), viaReal.data() + n),
                want(viaComplex.data(), viaComplex.data() + n);
            for (auto& w : want)
                w *= 0.25;
            SCOPED_TRACE(testing::Message() << "N=" << n << " sign=" << sign);
            EXPECT_LE(relativeError(got, want), 1e-13);
        }
    }
}

TEST(FourierRealInput, BuffersReusedAfterALargeOneWasFreedHoldTheirOwnTransform) {
    // A large buffer freed is kept for the next of about its size: one just
    // smaller, one larger and two at once must each get memory of their own
    // that holds their whole transform, and the same data the same bins.
    const int big = 1 << 18;
    std::vector<Sample> x = noise(big + 2, 5u);
    auto transform = [&](int n) {
        FftBuffer b(n);
        for (int j = 0; j < n; ++j)
            realInput(b)[j] = x[size_t(j)].re;
        EXPECT_TRUE(executeRealDft(b, -1, 1.0));
        return Bins(b.data(), b.data() + n);
    };
    const Bins first = transform(big);
    EXPECT_EQ(transform(big), first);
    const Bins smaller = transform(big - 2), larger = transform(big + 2);
    EXPECT_EQ(transform(big - 2), smaller);
    {
        FftBuffer held(big), other(big);
        ASSERT_TRUE(held.valid() && other.valid());
        EXPECT_NE(held.data(), other.data());
        for (int j = 0; j < big; ++j)
            held[j] = other[j] = {double(j), 0.0};
        EXPECT_EQ(held[big - 1], other[big - 1]);
    }
    EXPECT_EQ(transform(big), first);
    EXPECT_EQ(transform(big + 2), larger);
}

// Second-order drives against theory written from the papers, not from the
// code: Stokes' second harmonic, the Hasselmann / Sharma & Dean difference-
// frequency kernel, Longuet-Higgins & Stewart's set-down, Madsen's piston
// correction and the shallow-water mass balance of a piston's long wave.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

#include "numeric/constants.h"
#include "sea/sea_synthesis.h"
#include "sea/second_order_grid.h"
#include "sea/second_order_pair.h"
#include "sea/wave_modes.h"
#include "waves/wave_number.h"

namespace {

using Complex = std::complex<double>;
const double g = GRAVITY;

double omegaOf(double kh, double depth) {
    return std::sqrt(g * kh / depth * std::tanh(kh));
}

// Stokes (1847) second order: a^2 k cosh kh (2 + cosh 2kh) / (4 sinh^3 kh).
double stokesSecondHarmonic(double a, double kh, double depth) {
    return a * a * kh / depth * std::cosh(kh) * (2 + std::cosh(2 * kh)) /
           (4 * std::pow(std::sinh(kh), 3));
}

// The bound difference-frequency wave of two waves a_i cos(w_i t), a_j
// cos(w_j t), w_i > w_j, as D_ij a_i a_j cos((w_i - w_j) t) (Hasselmann
// 1962; Sharma & Dean 1981, in the form of Longuet-Higgins & Stewart 1962).
double hasselmannDifference(double wi, double wj, double depth) {
    const double ki = waveNumber(wi, depth), kj = waveNumber(wj, depth), kij = ki - kj;
    const double c = (wi - wj) * (wi * wi * wj * wj / (g * g) + ki * kj) -
                     0.5 * (wi * kj * kj / std::pow(std::cosh(kj * depth), 2) -
                            wj * ki * ki / std::pow(std::cosh(ki * depth), 2));
    return -g * ki * kj / (2 * wi * wj) + (wi * wi - wi * wj + wj * wj) / (2 * g) -
           c * g * (wi - wj) /
               (wi * wj * (g * kij * std::tanh(kij * depth) - (wi - wj) * (wi - wj)));
}

// Longuet-Higgins & Stewart (1964): the set-down under a slowly varying
// group, -g (2 cg / c - 1/2) / (g h - cg^2) per unit a_i a_j.
double setDown(double w, double depth) {
    const double k = waveNumber(w, depth), kh = k * depth, c = w / k;
    const double cg = 0.5 * c * (1 + 2 * kh / std::sinh(2 * kh));
    return -g * (2 * cg / c - 0.5) / (g * depth - cg * cg);
}

// c of Re(c e^(i w t)) in a signal holding whole periods of every term.
Complex amplitudeAt(const std::vector<double>& x, double dt, double w) {
    Complex sum = 0;
    for (size_t n = 0; n < x.size(); ++n)
        sum += x[n] * std::polar(1.0, -w * double(n) * dt);
    return 2.0 * sum / double(x.size());
}

// A drive with no ramps whose duration holds whole periods of `base` Hz.
SeaParameters wholePeriods(double base, double depth) {
    SeaParameters p;
    p.depth = depth;
    p.duration = 20 / base;
    p.dt = p.duration / 8000;
    p.ramp = 0;
    return p;
}

SeaDrive synthesised(const SeaParameters& p) {
    std::string why = validateSeaParameters(p);
    EXPECT_EQ(why, "");
    SeaDrive d;
    EXPECT_TRUE(synthesiseSea(p, d, &why)) << why;
    return d;
}

} // namespace

TEST(SecondOrder, RegularWaveCarriesStokesSecondHarmonic) {
    const double depth = 1;
    for (double kh : {0.5, 1.0, 2.0, 3.0}) {
        const double w = omegaOf(kh, depth), height = 0.01;
        SeaParameters p = wholePeriods(w / (2 * PI), depth);
        p.regular = true;
        p.regularHeight = height;
        p.regularPeriod = 2 * PI / w;
        p.order = 2;
        const SeaDrive d = synthesised(p);
        const Complex second = amplitudeAt(d.elevation, p.dt, 2 * w);
        EXPECT_NEAR(second.real() / stokesSecondHarmonic(height / 2, kh, depth), 1, 1e-6) << kh;
        EXPECT_NEAR(second.imag(), 0, 1e-9);
        // First order alone has no second harmonic in its target.
        SeaParameters coarse = p;
        coarse.dt = p.regularPeriod / 3; // 2 f above half the sampling rate
        coarse.duration = 3000 * coarse.dt;
        ASSERT_EQ(validateSeaParameters(coarse), "");
        EXPECT_EQ(directTerms(coarse).size(), 1u) << kh;
        p.order = 1;
        EXPECT_NEAR(std::abs(amplitudeAt(synthesised(p).elevation, p.dt, 2 * w)), 0, 1e-9);
    }
}

TEST(SecondOrder, BichromaticSubharmonicIsHasselmannsKernel) {
    const double depth = 1;
    for (double kh : {0.3, 0.5, 1.0, 2.0, 3.0}) {
        // f2 = 0.9 f1: every term has whole periods in 20 / (f1 / 10) s.
        const double w1 = omegaOf(kh, depth), w2 = 0.9 * w1, f1 = w1 / (2 * PI);
        SeaParameters p = wholePeriods(f1 / 10, depth);
        p.bichromatic = true;
        p.bichromaticHeight[0] = 0.002;
        p.bichromaticHeight[1] = 0.0015;
        p.bichromaticPeriod[0] = 2 * PI / w1;
        p.bichromaticPeriod[1] = 2 * PI / w2;
        p.order = 2;
        const SeaDrive d = synthesised(p);
        const double expected = hasselmannDifference(w1, w2, depth) * 0.001 * 0.00075;
        const Complex bound = amplitudeAt(d.elevation, p.dt, w1 - w2);
        EXPECT_NEAR(bound.real() / expected, 1, 0.01) << kh;
        EXPECT_NEAR(bound.imag() / expected, 0, 0.01) << kh;
    }
}

TEST(SecondOrder, SubharmonicTendsToTheSetDownOfASlowGroup) {
    const double depth = 0.6;
    Paddle piston;
    for (double kh : {0.5, 1.0, 2.0}) {
        const double w = omegaOf(kh, depth);
        double previous = INFINITY;
        for (double spread : {0.04, 0.02, 0.01, 0.005}) {
            const PairKernel k = SecondOrderGrid::exactDifference(
                piston, depth, w * (1 + spread) / (2 * PI), w / (2 * PI));
            const double off = std::abs(k.elevation.real() / setDown(w, depth) - 1);
            EXPECT_LT(off, previous) << kh << " " << spread;
            previous = off;
        }
        EXPECT_LT(previous, 0.01) << kh;
    }
}

TEST(SecondOrder, PistonReachesTheShallowWaterLimits) {
    // A long group in shallow water: the piston's second-order velocity
    // carries the bound long wave's flux, U2 = sqrt(g h) eta_b / h (the
    // waves' Stokes drift and the first-order paddle's second-order flux
    // cancel there). And its second harmonic tends to Madsen's (1971)
    // X2 = H^2 / (32 h) (3 cosh kh / sinh^3 kh - 2 / n).
    Paddle piston;
    const double depth = 0.6;
    double previous = INFINITY;
    for (double kh : {0.3, 0.1, 0.05}) {
        const double w = omegaOf(kh, depth), dw = 0.01 * w;
        const PairKernel k =
            SecondOrderGrid::exactDifference(piston, depth, (w + dw) / (2 * PI), w / (2 * PI));
        const Complex velocity = Complex(0, dw) * k.stroke;
        const Complex ratio = velocity * depth / (std::sqrt(g * depth) * k.elevation);
        EXPECT_NEAR(ratio.imag(), 0, 1e-6);
        EXPECT_LT(std::abs(ratio.real() - 1), previous) << kh;
        previous = std::abs(ratio.real() - 1);
    }
    EXPECT_LT(previous, 0.002);
    const double kh = 0.05, w = omegaOf(kh, depth);
    const PairKernel self = SecondOrderGrid::exactSum(piston, depth, w / (2 * PI), w / (2 * PI));
    const double n = 0.5 * (1 + 2 * kh / std::sinh(2 * kh));
    const double madsen = (3 * std::cosh(kh) / std::pow(std::sinh(kh), 3) - 2 / n) / (8 * depth);
    // Half the pair of a wave with itself, per a^2 (H^2 / 32h = a^2 / 8h);
    // the displacement lags like the first order's, so it is -i times real.
    EXPECT_NEAR(-(0.5 * self.stroke).imag() / madsen, 1, 0.005);
}

TEST(SecondOrder, EvanescentSeriesHasConverged) {
    // The extrapolated sums of 40 and of 80 modes agree where 40 alone are
    // a few per cent off: a flume's flap and piston, sum and difference.
    const double depth = 0.6, w = 2 * PI / 1.6;
    for (Paddle paddle : {Paddle{PaddleType::Piston, 0}, Paddle{PaddleType::Flap, 0.1}}) {
        PairTransfer at[2][2];
        int i = 0;
        for (int modes : {40, 80}) {
            const PaddleWave a = paddleWave(1.3 * w, paddle, depth, modes);
            const PaddleWave b = paddleWave(w, paddle, depth, modes);
            at[i][0] = pairTransfer(a, b, paddle, depth);
            at[i][1] = pairTransfer(a, conjugate(b), paddle, depth);
            ++i;
        }
        for (int kind = 0; kind < 2; ++kind)
            EXPECT_LT(std::abs(at[0][kind].stroke / at[1][kind].stroke - 1.0), 1e-3) << kind;
    }
}

TEST(SecondOrder, GridInterpolatesTheExactPairs) {
    const double depth = 0.6, low = 0.3, high = 1.9;
    std::mt19937 random(5);
    std::uniform_real_distribution<double> f(low, high);
    for (Paddle paddle : {Paddle{PaddleType::Piston, 0}, Paddle{PaddleType::Flap, 0.2}}) {
        const SecondOrderGrid grid(paddle, depth, low, high, SEA_PAIR_GRID_NODES);
        for (int n = 0; n < 12; ++n) {
            double f1 = f(random), f2 = f(random);
            if (f1 < f2) std::swap(f1, f2);
            const auto a = grid.pointAt(f1), b = grid.pointAt(f2);
            const PairKernel sum = grid.sum(a, b);
            const PairKernel exactSum = SecondOrderGrid::exactSum(paddle, depth, f1, f2);
            EXPECT_LT(std::abs(sum.stroke - exactSum.stroke), 1e-3 * std::abs(exactSum.stroke));
            EXPECT_LT(std::abs(sum.elevation - exactSum.elevation),
                      1e-3 * std::abs(exactSum.elevation));
            // Velocities: the displacement of a near pair is all but infinite.
            const double dw = 2 * PI * (f1 - f2);
            const PairKernel diff = grid.difference(a, b, dw);
            const PairKernel exactDiff = SecondOrderGrid::exactDifference(paddle, depth, f1, f2);
            EXPECT_LT(std::abs(dw * (diff.stroke - exactDiff.stroke)),
                      1e-3 * std::abs(dw * exactDiff.stroke));
            EXPECT_LT(std::abs(diff.elevation - exactDiff.elevation),
                      1e-3 * std::abs(exactDiff.elevation));
        }
    }
}

TEST(SecondOrder, IrregularPairsAddUpLikeTheWavesThemselves) {
    // Two components alone on an irregular sea's bins: their second-order
    // bins are the bichromatic group's terms (half amplitudes).
    SeaParameters p;
    p.depth = 0.6;
    p.order = 2;
    p.paddle.type = PaddleType::Flap;
    TargetSpectrum target;
    target.df = 0.01;
    target.firstBin = 60;
    target.lastBin = 90;
    const size_t n = 4000;
    std::vector<double> transfer;
    for (size_t bin = 60; bin <= 90; ++bin)
        transfer.push_back(heightToStrokeAt(p.paddle, target.frequency(bin), p.depth));
    std::vector<Complex> stroke(transfer.size());
    // Crests at t = 0 of heights 0.02 and 0.03 m: X = -i (H / 2) / (H/S) / 2.
    stroke[0] = Complex(0, -0.005 / transfer[0]);
    stroke[30] = Complex(0, -0.0075 / transfer[30]);
    const SecondOrderBins bins = secondOrderBins(p, target, stroke, transfer, int64_t(n));
    p.bichromatic = true;
    p.bichromaticHeight[0] = 0.02;
    p.bichromaticPeriod[0] = 1 / 0.6;
    p.bichromaticHeight[1] = 0.03;
    p.bichromaticPeriod[1] = 1 / 0.9;
    for (const DirectTerm& term : directTerms(p)) {
        const size_t bin = size_t(std::lround(term.omega / (2 * PI) / target.df));
        if (bin == 60 || bin == 90) continue; // first order
        EXPECT_LT(std::abs(2.0 * bins.elevation[bin] - term.elevation),
                  1e-3 * std::abs(term.elevation))
            << bin;
        EXPECT_LT(std::abs(2.0 * bins.stroke[bin] - term.stroke), 1e-3 * std::abs(term.stroke))
            << bin;
    }
    // Nothing anywhere else.
    double rest = 0;
    for (size_t bin = 1; bin < bins.stroke.size(); ++bin)
        if (bin != 30 && bin != 120 && bin != 150 && bin != 180) rest += std::abs(bins.stroke[bin]);
    EXPECT_EQ(rest, 0);
}

TEST(SecondOrder, CorrectionGrowsWithTheSquareOfTheHeight) {
    SeaParameters p;
    p.hm0 = 0.04;
    p.tp = 1.8;
    p.depth = 0.5;
    p.duration = 300;
    p.order = 2;
    auto secondOrderPart = [&](double hm0) {
        p.hm0 = hm0;
        p.order = 2;
        const SeaDrive two = synthesised(p);
        p.order = 1;
        const SeaDrive one = synthesised(p);
        std::vector<double> part(two.displacement.size());
        for (size_t i = 0; i < part.size(); ++i)
            part[i] = two.displacement[i] - one.displacement[i];
        return part;
    };
    const std::vector<double> small = secondOrderPart(0.04), large = secondOrderPart(0.08);
    double largest = 0;
    for (double x : small)
        largest = std::max(largest, std::abs(x));
    ASSERT_GT(largest, 1e-4);
    for (size_t i = 0; i < small.size(); ++i)
        ASSERT_NEAR(large[i], 4 * small[i], 1e-9 * largest) << i;
}

TEST(SecondOrder, HarmonicsPairsAndLimitChooseTheBins) {
    SeaParameters p;
    p.hm0 = 0.06;
    p.tp = 2.5;
    p.depth = 0.3;
    p.duration = 200;
    p.order = 2;
    const SeaDrive both = synthesised(p);
    const size_t low = both.target.firstBin, high = both.target.lastBin;
    auto energy = [](const std::vector<Complex>& bins, size_t from, size_t to) {
        double e = 0;
        for (size_t k = from; k < std::min(to, bins.size()); ++k)
            e += std::norm(bins[k]);
        return e;
    };
    // Long waves from a twentieth of the peak frequency up, unless asked.
    const size_t slowest = size_t(std::ceil(0.05 / p.tp / both.target.df));
    EXPECT_EQ(energy(both.second.stroke, 1, slowest), 0);
    EXPECT_GT(energy(both.second.stroke, slowest, low), 0);
    EXPECT_EQ(both.report.differenceFmin, 0.05 / p.tp);
    p.differenceFmin = 0;
    EXPECT_GT(energy(synthesised(p).second.stroke, 1, slowest), 0);
    p.differenceFmin = SEA_DEFAULT_DIFFERENCE_FMIN;
    EXPECT_GT(energy(both.second.stroke, high + 1, both.second.stroke.size()), 0);
    p.subharmonics = false;
    const SeaDrive super = synthesised(p);
    EXPECT_EQ(energy(super.second.stroke, 1, low), 0);
    p.subharmonics = true;
    p.superharmonics = false;
    const SeaDrive sub = synthesised(p);
    EXPECT_EQ(energy(sub.second.stroke, high + 1, sub.second.stroke.size()), 0);
    // Pairs within 10 % of the peak: no difference beyond 0.2 fp.
    p.pairFmin = 0.9 / p.tp;
    p.pairFmax = 1.1 / p.tp;
    const SeaDrive narrow = synthesised(p);
    const size_t reach = size_t(std::ceil(0.2 / p.tp / narrow.target.df)) + 1;
    EXPECT_GT(energy(narrow.second.stroke, 1, reach), 0);
    EXPECT_EQ(energy(narrow.second.stroke, reach, narrow.second.stroke.size()), 0);
    // The limit scales every subharmonic alike, by 26 / Ur.
    p.pairFmin = p.pairFmax = 0;
    p.limitSubharmonics = true;
    const SeaDrive limited = synthesised(p);
    const double ur = seaUrsellNumber(p);
    ASSERT_GT(ur, SEA_SECOND_ORDER_MAX_URSELL);
    EXPECT_NEAR(limited.report.subharmonicFactor, SEA_SECOND_ORDER_MAX_URSELL / ur, 1e-12);
    for (size_t k = 1; k < low; ++k)
        EXPECT_NEAR(std::abs(limited.second.stroke[k]),
                    std::abs(sub.second.stroke[k]) * SEA_SECOND_ORDER_MAX_URSELL / ur,
                    1e-12 + 1e-9 * std::abs(sub.second.stroke[k]));
}

TEST(SecondOrder, RefusesWhatTheTheoryCannotMake) {
    SeaParameters p;
    p.depth = 0.6;
    p.order = 2;
    p.regular = true;
    p.regularHeight = 0.2;
    p.regularPeriod = 4; // Ursell far above 26
    EXPECT_NE(validateSeaParameters(p).find("Ursell number"), std::string::npos);
    p.regularHeight = 0.02;
    p.regularPeriod = 1.2;
    EXPECT_EQ(validateSeaParameters(p), "");
    p.order = 3;
    EXPECT_EQ(validateSeaParameters(p), "the order must be 1 or 2");
    p.order = 1;
    p.limitSubharmonics = true;
    EXPECT_NE(validateSeaParameters(p).find("belong to the second order"), std::string::npos);
    p.limitSubharmonics = false;
    p.regular = false;
    p.bichromatic = true;
    p.bichromaticHeight[0] = p.bichromaticHeight[1] = 0.02;
    p.bichromaticPeriod[0] = p.bichromaticPeriod[1] = 1.2;
    EXPECT_NE(validateSeaParameters(p).find("different periods"), std::string::npos);
    p.bichromatic = false;
    p.solitaryHeight = 0.1;
    p.order = 2;
    EXPECT_NE(validateSeaParameters(p).find("solitary wave has no second order"),
              std::string::npos);
    p.solitaryHeight = 0;
    p.subharmonics = p.superharmonics = false;
    EXPECT_NE(validateSeaParameters(p).find("needs the subharmonics"), std::string::npos);
    p.subharmonics = true;
    p.pairFmin = 5;
    EXPECT_NE(validateSeaParameters(p).find("must overlap the band"), std::string::npos);
}

TEST(SecondOrder, ModesOfThePaddleMakeBieselsWave) {
    // The first-order projection the second order starts from gives the
    // paddle's H/S of Biesel's closed form, its displacement a quarter
    // period behind the elevation.
    const double depth = 0.6;
    for (Paddle paddle : {Paddle{PaddleType::Piston, 0}, Paddle{PaddleType::Flap, 0},
                          Paddle{PaddleType::Flap, 0.25}}) {
        for (double f : {0.3, 0.8, 2.0}) {
            const PaddleWave w = paddleWave(2 * PI * f, paddle, depth, SEA_EVANESCENT_MODES);
            const double transfer = heightToStrokeAt(paddle, f, depth);
            EXPECT_NEAR(std::abs(w.stroke) * transfer, 1, 1e-10) << f;
            EXPECT_NEAR(std::arg(w.stroke), -PI / 2, 1e-10) << f;
        }
    }
}

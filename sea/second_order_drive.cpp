#include "sea/second_order_drive.h"

#include <algorithm>
#include <cmath>

#include "numeric/constants.h"
#include "sea/second_order_grid.h"
#include "waves/wave_number.h"

double ursellNumber(double height, double period, double depth) {
    const double length = 2 * PI / waveNumber(2 * PI / period, depth);
    return height * length * length / (depth * depth * depth);
}

double seaUrsellNumber(const SeaParameters& p) {
    if (p.regular) return ursellNumber(p.regularHeight, p.regularPeriod, p.depth);
    // A group's highest wave is the two heights together, at the longer period.
    if (p.bichromatic)
        return ursellNumber(p.bichromaticHeight[0] + p.bichromaticHeight[1],
                            std::max(p.bichromaticPeriod[0], p.bichromaticPeriod[1]), p.depth);
    return ursellNumber(p.hm0, p.tp, p.depth);
}

double subharmonicFactor(const SeaParameters& p) {
    if (!p.limitSubharmonics) return 1;
    const double ur = seaUrsellNumber(p);
    return ur > SEA_SECOND_ORDER_MAX_URSELL ? SEA_SECOND_ORDER_MAX_URSELL / ur : 1;
}

void pairBand(const SeaParameters& p, const TargetSpectrum& target, double& low, double& high) {
    low = target.frequency(target.firstBin);
    high = target.frequency(target.lastBin);
    if (p.pairFmin > 0) low = std::max(low, p.pairFmin);
    if (p.pairFmax > 0) high = std::min(high, p.pairFmax);
}

SecondOrderBins secondOrderBins(const SeaParameters& p, const TargetSpectrum& target,
                                const std::vector<Complex>& stroke,
                                const std::vector<double>& transfer, int64_t samples) {
    SecondOrderBins out;
    const size_t half = size_t(samples / 2);
    out.stroke.assign(half + 1, 0.0);
    out.elevation.assign(half + 1, 0.0);
    double low, high;
    pairBand(p, target, low, high);
    // The components inside the pairs' band: their bins, full elevation
    // amplitudes A = 2 i (H/S) X, and where they fall on the grid.
    std::vector<size_t> bins;
    std::vector<Complex> amplitude;
    for (size_t i = 0; i < stroke.size(); ++i) {
        const size_t bin = target.firstBin + i;
        const double f = target.frequency(bin);
        if (f < low || f > high) continue;
        bins.push_back(bin);
        amplitude.push_back(2.0 * Complex(0, transfer[i]) * stroke[i]);
    }
    if (bins.size() < 2 && !(bins.size() == 1 && p.superharmonics)) return out;
    const double top = target.frequency(bins.back()), bottom = target.frequency(bins.front());
    const SecondOrderGrid grid(p.paddle, p.depth, bottom, std::max(top, bottom * 1.001),
                               SEA_PAIR_GRID_NODES);
    std::vector<SecondOrderGrid::Point> points;
    for (size_t bin : bins)
        points.push_back(grid.pointAt(target.frequency(bin)));
    const double factor = subharmonicFactor(p);
    const double slowest = seaDifferenceFmin(p);
    for (size_t a = 0; a < bins.size(); ++a) {
        for (size_t b = 0; b <= a; ++b) {
            const size_t sum = bins[a] + bins[b];
            if (p.superharmonics && sum < half) {
                // A component with itself is half of a distinct pair.
                const Complex aa = amplitude[a] * amplitude[b] * (a == b ? 0.25 : 0.5);
                const PairKernel k = grid.sum(points[a], points[b]);
                out.stroke[sum] += k.stroke * aa;
                out.elevation[sum] += k.elevation * aa;
            }
            const size_t difference = bins[a] - bins[b];
            if (p.subharmonics && a != b && target.frequency(difference) >= slowest) {
                const Complex aa = 0.5 * factor * amplitude[a] * std::conj(amplitude[b]);
                const PairKernel k =
                    grid.difference(points[a], points[b], 2 * PI * target.frequency(difference));
                out.stroke[difference] += k.stroke * aa;
                out.elevation[difference] += k.elevation * aa;
            }
        }
    }
    return out;
}

namespace {

DirectTerm firstOrderTerm(const SeaParameters& p, double height, double period) {
    const double a = height / 2;
    const double transfer = heightToStrokeAt(p.paddle, 1 / period, p.depth);
    return {2 * PI / period, a, Complex(0, -a / transfer)};
}

void addSum(const SeaParameters& p, std::vector<DirectTerm>& terms, const DirectTerm& x,
            const DirectTerm& y, double weight) {
    // At or above half the sampling rate a term would alias onto a slower one.
    if ((x.omega + y.omega) * p.dt >= PI) return;
    const PairKernel k =
        SecondOrderGrid::exactSum(p.paddle, p.depth, x.omega / (2 * PI), y.omega / (2 * PI));
    const Complex aa = weight * x.elevation * y.elevation;
    terms.push_back({x.omega + y.omega, k.elevation * aa, k.stroke * aa});
}

} // namespace

std::vector<DirectTerm> directTerms(const SeaParameters& p) {
    std::vector<DirectTerm> terms;
    terms.reserve(6); // no reallocation while a term is read for the next
    if (p.regular) terms.push_back(firstOrderTerm(p, p.regularHeight, p.regularPeriod));
    if (p.bichromatic)
        for (int i = 0; i < 2; ++i)
            terms.push_back(firstOrderTerm(p, p.bichromaticHeight[i], p.bichromaticPeriod[i]));
    if (p.order < 2) return terms;
    const size_t first = terms.size();
    if (p.superharmonics) {
        for (size_t i = 0; i < first; ++i)
            addSum(p, terms, terms[i], terms[i], 0.5);
        if (first == 2) addSum(p, terms, terms[0], terms[1], 1);
    }
    const double slowest = 2 * PI * seaDifferenceFmin(p);
    if (p.subharmonics && first == 2 && std::abs(terms[0].omega - terms[1].omega) >= slowest) {
        const DirectTerm& fast = terms[0].omega > terms[1].omega ? terms[0] : terms[1];
        const DirectTerm& slow = terms[0].omega > terms[1].omega ? terms[1] : terms[0];
        const PairKernel k = SecondOrderGrid::exactDifference(
            p.paddle, p.depth, fast.omega / (2 * PI), slow.omega / (2 * PI));
        const Complex aa = subharmonicFactor(p) * fast.elevation * std::conj(slow.elevation);
        terms.push_back({fast.omega - slow.omega, k.elevation * aa, k.stroke * aa});
    }
    return terms;
}

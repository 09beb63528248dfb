#include "waves/confidence_band.h"

#include <cmath>

#include "numeric/chi_square.h"

double welchDegreesOfFreedom(const std::vector<double>& w, int32_t step, int32_t segments) {
    const size_t n = w.size();
    if (segments < 1 || step < 1 || n == 0) return 0;
    double sumW2 = 0;
    for (double v : w)
        sumW2 += v * v;
    if (!(sumW2 > 0)) return 0;
    double sum = 0;
    for (int32_t j = 1; j < segments && size_t(j) * size_t(step) < n; ++j) {
        const size_t shift = size_t(j) * size_t(step);
        double overlap = 0;
        for (size_t i = 0; i + shift < n; ++i)
            overlap += w[i] * w[i + shift];
        const double rho = overlap / sumW2;
        sum += (1 - double(j) / segments) * rho * rho;
    }
    return 2.0 * segments / (1 + 2 * sum);
}

namespace {

void factors(double nu, double level, double& lower, double& upper) {
    lower = nu / chiSquareQuantile(0.5 + level / 2, nu);
    upper = nu / chiSquareQuantile(0.5 - level / 2, nu);
}

} // namespace

bool confidenceBand(const VarianceSpectrum& spectrum, double level, ConfidenceBand& out) {
    if (!(spectrum.dof > 0) || !(level > 0 && level < 1)) return false;
    ConfidenceBand band;
    band.level = level;
    band.dof = spectrum.dof;
    factors(band.dof, level, band.lowerFactor, band.upperFactor);
    double edgeLower = 0, edgeUpper = 0;
    factors(band.dof / 2, level, edgeLower, edgeUpper);
    const size_t bins = spectrum.density.size();
    band.lower.resize(bins);
    band.upper.resize(bins);
    for (size_t j = 0; j < bins; ++j) {
        const bool edge = j == 0 || j + 1 == bins;
        const double s = spectrum.density[j];
        band.lower[j] = s * (edge ? edgeLower : band.lowerFactor);
        band.upper[j] = s * (edge ? edgeUpper : band.upperFactor);
    }
    out = std::move(band);
    return true;
}

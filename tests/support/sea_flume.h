// A numerical flume for the sea tests: the drive's displacement through the
// paddle's transfer function (and the flume's own gain and lag) to the sea it
// makes, by first-order theory.
#pragma once

#include <cmath>
#include <complex>
#include <functional>
#include <vector>

#include "analysis/fft_plan.h"
#include "sea/paddle_transfer.h"
#include "sea/sea_parameters.h"
#include "waves/block_values.h"

// The one-sided elevation spectrum bins E_k (half amplitudes) the drive's
// displacement makes, times the flume's gain; 0 at k = 0 and Nyquist.
inline std::vector<std::complex<double>> flumeElevationBins(
    const std::vector<double>& displacement, const SeaParameters& p,
    const std::function<std::complex<double>(double)>& gain = [](double) {
        return std::complex<double>(1.0);
    }) {
    const int32_t n = int32_t(displacement.size());
    FftBuffer z(n);
    for (int32_t i = 0; i < n; ++i)
        z[i] = displacement[size_t(i)];
    executeDft(z, -1);
    std::vector<std::complex<double>> e(size_t(n / 2 + 1));
    const double df = 1 / (n * p.dt);
    for (int32_t k = 1; 2 * k < n; ++k) {
        const double f = k * df;
        // The elevation leads the displacement by a quarter period.
        e[size_t(k)] = std::complex<double>(0, heightToStrokeAt(p.paddle, f, p.depth)) * gain(f) *
                       z[k] / double(n);
    }
    return e;
}

// The elevation record of those bins.
inline BlockValues flumeRecord(const std::vector<std::complex<double>>& bins, int32_t n,
                               double dt) {
    FftBuffer z(n);
    for (int32_t i = 0; i < n; ++i)
        z[i] = 0;
    for (size_t k = 1; k < bins.size() && 2 * k < size_t(n); ++k) {
        z[int32_t(k)] = bins[k];
        z[n - int32_t(k)] = std::conj(bins[k]);
    }
    executeDft(z, +1);
    BlockValues b;
    b.sampleRate = 1 / dt;
    for (int32_t i = 0; i < n; ++i)
        b.values.push_back(z[i].real());
    return b;
}

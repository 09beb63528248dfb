#include "sea/wave_modes.h"

#include <cmath>

#include "numeric/constants.h"
#include "waves/wave_number.h"

double evanescentWaveNumber(double omega, double depth, int j) {
    // y tan(y) = -nu with y = kappa h, nu = omega^2 h / g: on ((j - 1/2) pi,
    // j pi) y tan(y) rises from -inf to 0, so the root is bracketed; Newton
    // steps that leave the bracket are replaced by bisection.
    const double nu = omega * omega * depth / GRAVITY;
    double low = (j - 0.5) * PI, high = j * PI;
    double y = 0.5 * (low + high);
    for (int step = 0; step < 100; ++step) {
        const double f = y * std::tan(y) + nu;
        if (f > 0)
            high = y;
        else
            low = y;
        const double c = std::cos(y);
        const double slope = std::tan(y) + y / (c * c);
        double next = y - f / slope;
        if (!(next > low && next < high)) next = 0.5 * (low + high);
        if (std::abs(next - y) <= 1e-15 * y) {
            y = next;
            break;
        }
        y = next;
    }
    return y / depth;
}

std::vector<std::complex<double>> waveModes(double omega, double depth, int evanescent) {
    std::vector<std::complex<double>> k;
    if (!(omega > 0)) return k;
    k.reserve(size_t(evanescent) + 1);
    k.emplace_back(waveNumber(omega, depth), 0.0);
    for (int j = 1; j <= evanescent; ++j)
        k.emplace_back(0.0, -evanescentWaveNumber(omega, depth, j));
    return k;
}

#include "sea/focused_group.h"

#include <cmath>

#include "numeric/constants.h"
#include "waves/wave_number.h"

double defaultFocusCrest(const TargetSpectrum& target) {
    double m0 = 0;
    for (double s : target.binDensity)
        m0 += s * target.df;
    return std::sqrt(2 * m0 * std::log(1000.0));
}

std::vector<std::complex<double>> focusedComponents(const TargetSpectrum& target, double crest,
                                                    double time, double distance, double depth) {
    double total = 0;
    for (double s : target.binDensity)
        total += s;
    std::vector<std::complex<double>> e;
    double k = 0;
    for (size_t i = 0; i < target.binDensity.size() && total > 0; ++i) {
        const double w = 2 * PI * target.frequency(target.firstBin + i);
        k = k > 0 ? waveNumberNear(w, depth, k) : waveNumber(w, depth);
        const double amplitude = crest * target.binDensity[i] / total;
        e.push_back(std::polar(0.5 * amplitude, -w * time + k * distance));
    }
    return e;
}

#include "numeric/dispersion.h"

#include <cmath>

#include "numeric/constants.h"

double dispersionOmega(double waveLength, double depth) {
    double k = TWO_PI / waveLength;
    double kh = k * depth;
    // Written through k h so that the shallow-water limit keeps its precision.
    return std::sqrt(std::tanh(kh) * (GRAVITY / depth) * kh);
}

double dispersionPeriod(double waveLength, double depth) {
    return TWO_PI / dispersionOmega(waveLength, depth);
}

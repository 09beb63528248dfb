#include "generator/dispersion.h"

#include <cmath>

double dispersionOmega(double waveLength, double depth) {
    double k = GENERATOR_TWO_PI / waveLength;
    double kh = k * depth;
    // Written through k h so that the shallow-water limit keeps its precision.
    return std::sqrt(std::tanh(kh) * (GRAVITY / depth) * kh);
}

double dispersionPeriod(double waveLength, double depth) {
    return GENERATOR_TWO_PI / dispersionOmega(waveLength, depth);
}

#include "sea/sea_random.h"

#include <cmath>

#include "numeric/constants.h"

double SeaRandom::phase() {
    return 2 * PI * uniform();
}

void SeaRandom::gaussianPair(double& first, double& second) {
    // 1 - u lies in (0, 1], so the logarithm is finite.
    const double radius = std::sqrt(-2 * std::log(1 - uniform()));
    const double angle = phase();
    first = radius * std::cos(angle);
    second = radius * std::sin(angle);
}

// The cosine ramps that start and stop the paddle at rest: the weight
// 0.5 (1 - cos(pi t / R)) over the first and the last R seconds.
#pragma once

#include <cstdint>

struct SeaRamp {
    double seconds = 0; // R
    double dt = 0;
    int64_t count = 0; // samples of the whole drive

    // The weight and its time derivative (1/s) at sample n. Samples sit half
    // a step inside the ends, so no weight is exactly 0 and a drive read back
    // can be divided by its ramps.
    void at(int64_t n, double& weight, double& slope) const;
};

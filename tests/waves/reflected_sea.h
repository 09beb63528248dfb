// A sea of known reflection for the reflection tests: an incident JONSWAP
// sea and its reflection, with a coefficient that changes with frequency, at
// any gauges. The wave numbers are chosen and each frequency comes from the
// generator's dispersion relation, so that the records do not lean on the
// solver they check.
#pragma once

#include <cmath>
#include <vector>

#include "numeric/dispersion.h"
#include "sea_synthesis.h"
#include "waves/reflection.h"

namespace reflected_sea {

constexpr double DEPTH = 0.5;
constexpr double RATE = 20.0;
constexpr size_t SAMPLES = 16384;

inline double frequencyOf(double k) {
    return dispersionOmega(2 * SEA_PI / k, DEPTH) / (2 * SEA_PI);
}

// Reflection rising from 0.2 at 0.4 Hz to 0.6 at 1.2 Hz, as a beach that
// reflects the long waves more would (but the other way round, so that a
// constant fit would miss it).
inline double krOf(double f) {
    return 0.2 + 0.5 * (f - 0.4);
}

struct Sea {
    std::vector<BlockValues> gauges;
    std::vector<Component> components;
};

// A JONSWAP sea (Hm0 0.1 m, fp 0.65 Hz) and its reflection krOf(f) with a
// phase shift of 0.7 rad, at gauges `x`; each gauge with noise of `noise`
// times the incident sea's rms (0.025 m).
inline Sea reflectedSea(const std::vector<double>& x, double noise = 0.05) {
    std::vector<double> k, f;
    for (double kk = 0.8; kk < 9.5; kk += 0.02) {
        k.push_back(kk);
        f.push_back(frequencyOf(kk));
    }
    Sea sea;
    sea.components = jonswapComponents(f, k, 0.65, 0.1, 7);
    for (size_t g = 0; g < x.size(); ++g) {
        BlockValues b = emptyBlock(SAMPLES, RATE);
        for (const Component& w : sea.components) {
            const double kr = krOf(w.omega / (2 * SEA_PI));
            for (size_t j = 0; j < b.values.size(); ++j) {
                const double t = double(j) / RATE;
                b.values[j] +=
                    w.amplitude * std::cos(w.omega * t - w.k * x[g] + w.phase) +
                    kr * w.amplitude * std::cos(w.omega * t + w.k * x[g] + w.phase + 0.7);
            }
        }
        if (noise > 0) addNoise(b, noise * 0.025, unsigned(40 + g));
        sea.gauges.push_back(std::move(b));
    }
    return sea;
}

inline ReflectionOptions optionsFor(const std::vector<double>& x) {
    ReflectionOptions o;
    o.positions = x;
    o.depth = DEPTH;
    o.segment = 512;
    o.band = SpectralBand{0.3, 1.6};
    return o;
}

} // namespace reflected_sea

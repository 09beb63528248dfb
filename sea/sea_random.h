// The random source of the sea synthesis: the same numbers for a seed on
// every machine and standard library. std::mt19937_64's output is fixed by
// the C++ standard; the distributions of <random> are not, so the mappings
// to phases and Gaussians are our own.
#pragma once

#include <cstdint>
#include <random>

class SeaRandom {
  public:
    explicit SeaRandom(uint64_t seed) : engine_(seed) {}

    // Uniform in [0, 1): the top 53 bits of one draw.
    double uniform() { return double(engine_() >> 11) * 0x1.0p-53; }
    // Uniform in [0, 2 pi).
    double phase();
    // Two independent standard normal numbers from two draws (Box-Muller).
    void gaussianPair(double& first, double& second);

  private:
    std::mt19937_64 engine_;
};

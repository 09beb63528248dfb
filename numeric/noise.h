#pragma once

#include <cstdint>

// Approximately standard-normal deviates: each is the sum of 12 uniform integers
// in 0 .. 32767, divided by 32767, minus 6.
//
// The uniform integers come from a 15-bit linear congruential generator whose
// state the caller owns, not from std::rand: the C library's generator is shared
// by every thread and its range differs between platforms, while the sum above
// needs exactly 0 .. 32767. Code that runs on one thread may use the overloads
// without a source; they draw from a generator private to the calling thread,
// which starts with seed 1 and is re-seeded with noise_seed(seed) (in place of
// srand).

struct NoiseSource {
    std::uint32_t state = 1;
};

void noise_seed(NoiseSource& source, unsigned seed);

// Next uniform integer in 0 .. 32767.
int noise_next(NoiseSource& source);

void vec_gauss_noise(double* v, int n, NoiseSource& source);

// The same on the calling thread's own generator.
void noise_seed(unsigned seed);
void vec_gauss_noise(double* v, int n);

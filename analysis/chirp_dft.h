// The discrete Fourier transform of a length with a large prime factor as a
// convolution (Bluestein's chirp transform): FFTW's estimated plans take such
// lengths through Rader's algorithm, several times slower per sample than a
// length of small factors, while the convolution runs on one.
#pragma once

#include <cstdint>

#include "analysis/fft_plan.h"

// Whether the chirp transform beats FFTW's own plan for length n: when n has
// a prime factor above CHIRP_MIN_PRIME_FACTOR.
constexpr int32_t CHIRP_MIN_PRIME_FACTOR = 1000;
bool chirpPreferred(int32_t n);

// y_k = scale * sum_j x_j e^(sign 2 pi i j k / n), n = buffer.size(), in
// place, for any n. Safe to call from several threads at once; the chirp of
// the last length is kept for the next call. False when memory or a plan
// could not be obtained (the buffer is then unchanged or partly written).
bool executeChirpDft(FftBuffer& buffer, int sign, double scale);

// The smallest 2^a 3^b 5^c that is at least n (n >= 1).
int32_t smoothLengthAtLeast(int32_t n);

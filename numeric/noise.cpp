#include "numeric/noise.h"

namespace {

// One generator per thread for the overloads without a source: threads never
// share or lock a state.
thread_local NoiseSource threadSource;

} // namespace

void noise_seed(NoiseSource& source, unsigned seed) {
    source.state = seed;
}

int noise_next(NoiseSource& source) {
    source.state = source.state * 214013u + 2531011u;
    return int((source.state >> 16) & 0x7fffu);
}

void vec_gauss_noise(double* v, int n, NoiseSource& source) {
    for (int i = 0; i < n; ++i) {
        // Twelve uniforms have variance close to 1 and their sum is nearly normal.
        int sum = 0;
        for (int r = 0; r < 12; ++r)
            sum += noise_next(source);
        v[i] = double(sum) / 32767.0 - 6.0;
    }
}

void noise_seed(unsigned seed) {
    noise_seed(threadSource, seed);
}

void vec_gauss_noise(double* v, int n) {
    vec_gauss_noise(v, n, threadSource);
}

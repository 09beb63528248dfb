#include "analysis/chirp_dft.h"

#include <cmath>
#include <complex>
#include <memory>
#include <mutex>
#include <vector>

namespace {

using Complex = std::complex<double>;

constexpr double PI = 3.141592653589793;

// w^(jk) = c_j c_k conj(c_(k-j)) with c_m = e^(sign i pi m^2 / n), so the
// transform is c_k times the convolution of x_j c_j with conj(c_m).
struct Chirp {
    int32_t n = 0;
    int sign = 0;
    int32_t m = 0;                     // convolution length, smooth, >= 2n - 1
    std::vector<Complex> c;            // c_0 .. c_(n-1)
    std::unique_ptr<FftBuffer> filter; // transform of conj(c) wrapped to length m, over m
};

std::mutex g_chirpLock;
std::shared_ptr<const Chirp> g_lastChirp;

std::shared_ptr<const Chirp> makeChirp(int32_t n, int sign) {
    auto chirp = std::make_shared<Chirp>();
    chirp->n = n;
    chirp->sign = sign;
    chirp->m = smoothLengthAtLeast(2 * n - 1);
    chirp->c.resize(size_t(n));
    // m^2 reduced modulo 2n keeps the angle below 2 pi, exact for any n.
    const int64_t period = 2 * int64_t(n);
    for (int64_t j = 0; j < n; ++j) {
        double angle = sign * PI * double(j * j % period) / double(n);
        chirp->c[size_t(j)] = Complex(std::cos(angle), std::sin(angle));
    }
    chirp->filter = std::make_unique<FftBuffer>(chirp->m);
    FftBuffer& f = *chirp->filter;
    if (!f.valid()) return nullptr;
    const int32_t m = chirp->m;
    for (int32_t i = 0; i < m; ++i)
        f[i] = 0.0;
    f[0] = std::conj(chirp->c[0]);
    for (int32_t j = 1; j < n; ++j)
        f[j] = f[m - j] = std::conj(chirp->c[size_t(j)]);
    if (!executeDft(f, -1)) return nullptr;
    for (int32_t i = 0; i < m; ++i)
        f[i] /= double(m);
    return chirp;
}

std::shared_ptr<const Chirp> chirpFor(int32_t n, int sign) {
    {
        std::lock_guard<std::mutex> lock(g_chirpLock);
        if (g_lastChirp && g_lastChirp->n == n && g_lastChirp->sign == sign) return g_lastChirp;
    }
    std::shared_ptr<const Chirp> made = makeChirp(n, sign);
    if (!made) return nullptr;
    std::lock_guard<std::mutex> lock(g_chirpLock);
    g_lastChirp = made;
    return made;
}

int32_t largestPrimeFactor(int32_t n) {
    int32_t largest = 1;
    for (int32_t p = 2; int64_t(p) * p <= n; ++p) {
        while (n % p == 0) {
            largest = p;
            n /= p;
        }
    }
    return n > 1 ? n : largest;
}

} // namespace

bool chirpPreferred(int32_t n) {
    return n > 0 && largestPrimeFactor(n) > CHIRP_MIN_PRIME_FACTOR;
}

int32_t smoothLengthAtLeast(int32_t n) {
    int64_t best = INT64_MAX;
    for (int64_t a = 1; a < 2 * int64_t(n); a *= 2)
        for (int64_t b = a; b < 2 * int64_t(n); b *= 3)
            for (int64_t c = b;; c *= 5)
                if (c >= n) {
                    if (c < best) best = c;
                    break;
                }
    return int32_t(best);
}

bool executeChirpDft(FftBuffer& buffer, int sign, double scale) {
    if (!buffer.valid() || (sign != -1 && sign != 1)) return false;
    const int32_t n = buffer.size();
    std::shared_ptr<const Chirp> chirp = chirpFor(n, sign);
    if (!chirp) return false;
    const int32_t m = chirp->m;
    FftBuffer work(m);
    if (!work.valid()) return false;
    const Complex* c = chirp->c.data();
    for (int32_t j = 0; j < n; ++j)
        work[j] = buffer[j] * c[j];
    for (int32_t j = n; j < m; ++j)
        work[j] = 0.0;
    if (!executeDft(work, -1)) return false;
    const Complex* f = chirp->filter->data();
    for (int32_t i = 0; i < m; ++i)
        work[i] *= f[i];
    if (!executeDft(work, +1)) return false;
    for (int32_t k = 0; k < n; ++k)
        buffer[k] = work[k] * c[k] * scale;
    return true;
}

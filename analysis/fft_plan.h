// Fast discrete Fourier transforms through FFTW: aligned buffers and plans made
// once per length and direction, shared by every worker thread.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>

// An array of complex doubles aligned for FFTW's SIMD code. The memory of the
// last large one freed is kept for the next of about its size.
class FftBuffer {
  public:
    explicit FftBuffer(int32_t n);
    FftBuffer(const FftBuffer&) = delete;
    FftBuffer& operator=(const FftBuffer&) = delete;
    ~FftBuffer();

    // False when the memory could not be obtained (or n < 1).
    bool valid() const { return data_ != nullptr; }
    int32_t size() const { return size_; }
    std::complex<double>* data() { return data_; }
    const std::complex<double>* data() const { return data_; }
    std::complex<double>& operator[](int32_t i) { return data_[i]; }

  private:
    std::complex<double>* data_ = nullptr;
    int32_t size_ = 0;
    size_t capacity_ = 0; // bytes
};

// Replaces x by y_k = sum_j x_j e^(sign 2 pi i j k / n), n = buffer size,
// sign -1 or +1, unscaled. Safe to call from several threads at once. False
// when no plan could be made (the buffer is then unchanged).
bool executeDft(FftBuffer& buffer, int sign);

// Where the real input of executeRealDft goes: the buffer's memory read as
// n = buffer.size() doubles (the first half of it).
double* realInput(FftBuffer& buffer);

// Whether FFTW's estimated real-input plan of length n is the faster one. For
// an odd n with a prime factor above REAL_DFT_MAX_ODD_FACTOR it takes a
// generic path, about twice as slow as the complex transform of the same n
// (87 ms against 41 ms for 999983); for an even n it halves the work.
constexpr int32_t REAL_DFT_MAX_ODD_FACTOR = 1000;
bool realDftPreferred(int32_t n);

// The same sums for the real x in realInput(buffer), scaled:
// y_k = scale * sum_j x_j e^(sign 2 pi i j k / n), all n bins into the
// buffer. FFTW's real-input transform computes the lower half in place, at
// about half the cost of the complex transform, and the upper half is its
// mirror (y_(n-k) is the conjugate of y_k), left out unless `mirror`. False
// when no plan could be made.
bool executeRealDft(FftBuffer& buffer, int sign, double scale, bool mirror = true);

// How many plans the cache holds; it keeps the most recently used few.
size_t cachedPlanCount();
constexpr size_t MAX_CACHED_PLANS = 8;

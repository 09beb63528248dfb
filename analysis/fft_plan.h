// Fast discrete Fourier transforms through FFTW: aligned buffers and plans made
// once per length and direction, shared by every worker thread.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>

// An array of complex doubles aligned for FFTW's SIMD code.
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
};

// An array of doubles aligned for FFTW's SIMD code: the input of a real transform.
class FftRealBuffer {
  public:
    explicit FftRealBuffer(int32_t n);
    FftRealBuffer(const FftRealBuffer&) = delete;
    FftRealBuffer& operator=(const FftRealBuffer&) = delete;
    ~FftRealBuffer();

    bool valid() const { return data_ != nullptr; }
    int32_t size() const { return size_; }
    double* data() { return data_; }

  private:
    double* data_ = nullptr;
    int32_t size_ = 0;
};

// Replaces x by y_k = sum_j x_j e^(sign 2 pi i j k / n), n = buffer size,
// sign -1 or +1, unscaled. Safe to call from several threads at once. False
// when no plan could be made (the buffer is then unchanged).
bool executeDft(FftBuffer& buffer, int sign);

// The same sums for real x: out_k = scale * sum_j in_j e^(sign 2 pi i j k / n)
// for all n bins, n = in.size() = out.size(). FFTW's real-input transform
// computes the lower half, and the upper half is its mirror (out_(n-k) is the
// conjugate of out_k), at about half the cost of the complex transform. `in`
// may be overwritten. False when no plan could be made.
bool executeRealDft(FftRealBuffer& in, FftBuffer& out, int sign, double scale);

// How many plans the cache holds; it keeps the most recently used few.
size_t cachedPlanCount();
constexpr size_t MAX_CACHED_PLANS = 8;

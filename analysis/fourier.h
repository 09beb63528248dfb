// The Fourier analysis: the discrete Fourier transform of one channel over a
// range of samples, forward or inverse, published as a one-channel complex
// result named "Spectrum".
//
// Forward (real part of the input only):  X_k = (2/N) sum_j re_j e^(+i 2 pi j k / N)
// Inverse (whole complex input):          X_k = 0.5   sum_j x_j  e^(-i 2 pi j k / N)
// The two scalings undo each other for a real signal.
#pragma once

#include <complex>
#include <cstdint>

#include "analysis/calculation.h"
#include "analysis/fft_plan.h"
#include "analysis/fourier_options.h"

struct FourierParams : WorkerParams {
    int32_t inverse = 0;
    int32_t onesided = 0; // 1: bins 0 .. N/2 only
};

// The bins a run stores: all N, or N/2 + 1 on one side.
int32_t storedBins(const FourierParams& params);

class CFft : public CCalculation {
  public:
    CFft(CMeasure* source, const BlockRange& range, const FourierOptions& options);

    FourierOptions options;
    // Only bins 0 .. N/2, the others being the conjugates of these for a real
    // block; set before the run.
    bool onesided = false;

  protected:
    bool Build() override;
    WorkerBody Body() const override;
    // The inverse transform takes the complex values whole.
    bool readsImaginary() const override { return options.inverse != 0; }
};

// The worker body: the stored bins in increasing order.
int FourierWorker(WorkerParams& params);

// The bins of the analysed samples in double precision, through FFTW: all of
// them, or with `onesided` at least 0 .. N/2. `out` must hold `count` values. False when no plan
// could be made.
bool fourierTransform(const FourierParams& params, FftBuffer& out);

// Bin k by the direct sum: O(N) with a cosine and a sine per term. The worker
// falls back to it when the memory for the fast transform is not there.
std::complex<double> fourierBinDirect(const FourierParams& params, int32_t k);

#include "analysis/fourier.h"

#include <algorithm>
#include <cmath>

#include "numeric/constants.h"

namespace {

// Bins stored per check of `cancel`: storing them costs far less than one bin
// of the direct sum, so a cancel is still seen promptly.
constexpr int32_t STORE_CHUNK = 65536;

FourierParams& fourierParams(WorkerParams& params) {
    return static_cast<FourierParams&>(params);
}

Sample input(const FourierParams& p, int32_t j) {
    const int64_t row = int64_t(p.first) + j;
    return Sample{p.source[row], p.source.im(row)};
}

double scaleOf(const FourierParams& p) {
    return p.inverse ? 0.5 : 2.0 / p.count;
}

Sample toSample(std::complex<double> value) {
    return Sample{float(value.real()), float(value.imag())};
}

void storeFast(FourierParams& p, const FftBuffer& bins, WorkerProgress& progress) {
    const int32_t stored = storedBins(p);
    for (int32_t k0 = 0; k0 < stored; k0 += STORE_CHUNK) {
        if (progress.cancelled()) return;
        int32_t k1 = std::min(stored, k0 + STORE_CHUNK);
        for (int32_t k = k0; k < k1; ++k)
            p.result_samples[k] = toSample(bins.data()[k]);
        progress.publish(k1);
    }
}

void storeDirect(FourierParams& p, WorkerProgress& progress) {
    for (int32_t k = 0; k < storedBins(p); ++k) {
        if (progress.cancelled()) return;
        p.result_samples[k] = toSample(fourierBinDirect(p, k));
        progress.publish(k + 1);
    }
}

} // namespace

CFft::CFft(CMeasure* source, const BlockRange& range, const FourierOptions& options_)
    : CCalculation(source, range), options(options_) {
    params = std::make_unique<FourierParams>();
}

WorkerBody CFft::Body() const {
    return &FourierWorker;
}

bool CFft::Build() {
    sampleFormat = SAMPLE_FORMAT_COMPLEX;
    int32_t lo = std::min(range.from, range.to);
    int32_t n = std::max(range.from, range.to) - lo;
    channelCount = 1;
    FourierParams& p = fourierParams(*params);
    p.onesided = onesided ? 1 : 0;
    p.count = n;
    sampleCount = storedBins(p);
    sampleRate = n / source->sampleRate;
    setChannelInfo(channels[0], 1.0, 0.0, source->channels[range.channel].unit, "Spectrum");
    resetParameters(signalParameters[0]);
    if (!allocateSamples()) return false;
    fillHead(lo, n);
    p.inverse = options.inverse;
    return true;
}

int32_t storedBins(const FourierParams& p) {
    return p.onesided ? std::min(p.count, p.count / 2 + 1) : p.count;
}

int FourierWorker(WorkerParams& params) {
    FourierParams& p = fourierParams(params);
    WorkerProgress progress(p);
    if (p.count > 0 && !progress.cancelled()) {
        FftBuffer bins(p.count);
        if (fourierTransform(p, bins))
            storeFast(p, bins, progress);
        else
            storeDirect(p, progress);
    }
    progress.finish();
    return 0;
}

namespace {

// The input as real numbers when it is real: always for the forward transform
// (it reads the real parts only), for the inverse when every imaginary part
// is 0. False leaves the buffer partly filled.
bool gatherReal(const FourierParams& p, FftBuffer& out) {
    double* x = realInput(out);
    const float* in = &p.source[p.first];
    const int64_t stride = p.source.stride;
    if (p.inverse && p.source.complex)
        for (int32_t j = 0; j < p.count; ++j)
            if (in[j * stride + 1] != 0.0f) return false;
    for (int32_t j = 0; j < p.count; ++j)
        x[j] = in[j * stride];
    return true;
}

bool complexTransform(const FourierParams& p, FftBuffer& out) {
    std::complex<double>* x = out.data();
    for (int32_t j = 0; j < p.count; ++j) {
        const Sample s = input(p, j);
        x[j] = {double(s.re), p.inverse ? double(s.im) : 0.0};
    }
    if (!executeDft(out, p.inverse ? -1 : +1)) return false;
    double scale = scaleOf(p);
    for (int32_t k = 0; k < p.count; ++k)
        x[k] *= scale;
    return true;
}

} // namespace

bool fourierTransform(const FourierParams& p, FftBuffer& out) {
    if (!out.valid() || out.size() != p.count) return false;
    // Real input takes the real-input transform, about twice as fast where
    // FFTW plans it well; the complex one remains for complex input.
    if (realDftPreferred(p.count) && gatherReal(p, out) &&
        executeRealDft(out, p.inverse ? -1 : +1, scaleOf(p), !p.onesided))
        return true;
    return complexTransform(p, out);
}

std::complex<double> fourierBinDirect(const FourierParams& p, int32_t k) {
    const int64_t n = p.count;
    if (n <= 0 || k < 0) return {};
    const int64_t step = k % n;
    double sumRe = 0.0, sumIm = 0.0;
    // j*k reduced modulo N keeps the angle small, so the cosine stays exact to
    // rounding for any N.
    int64_t m = 0;
    for (int32_t j = 0; j < p.count; ++j) {
        double theta = TWO_PI * double(m) / double(n);
        double c = std::cos(theta), s = std::sin(theta);
        const Sample x = input(p, j);
        if (p.inverse) {
            sumRe += x.re * c + x.im * s;
            sumIm += x.im * c - x.re * s;
        } else {
            sumRe += x.re * c;
            sumIm += x.re * s;
        }
        m += step;
        if (m >= n) m -= n;
    }
    return std::complex<double>(sumRe, sumIm) * scaleOf(p);
}

#include "waves/variance_spectrum.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "analysis/fft_plan.h"
#include "numeric/constants.h"
#include "waves/confidence_band.h"

namespace {

constexpr int32_t MIN_SEGMENT = 256;

std::vector<double> hannWindow(int32_t n) {
    // Periodic Hann window: 50 % overlapped copies add up to a constant.
    std::vector<double> w(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        w[size_t(i)] = 0.5 - 0.5 * std::cos(2 * PI * i / n);
    return w;
}

// Two real segments go through one complex transform (one as the real part,
// one as the imaginary part) and are told apart by symmetry afterwards.
void splitPair(const FftBuffer& z, int32_t n, std::complex<double>* a, std::complex<double>* b) {
    for (int32_t j = 0; j <= n / 2; ++j) {
        std::complex<double> zj = z.data()[j];
        std::complex<double> zc = std::conj(z.data()[(n - j) % n]);
        a[j] = 0.5 * (zj + zc);
        if (b) b[j] = std::complex<double>(0, -0.5) * (zj - zc);
    }
}

void loadSegment(const std::vector<double>& x, size_t first, const std::vector<double>& w,
                 bool removeMean, std::vector<double>& out) {
    size_t n = w.size();
    double mean = 0;
    for (size_t i = 0; i < n && removeMean; ++i)
        mean += x[first + i];
    mean /= double(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = (x[first + i] - mean) * w[i];
}

} // namespace

int32_t defaultSegment(size_t n) {
    int64_t s = MIN_SEGMENT;
    while (s * 2 <= int64_t(n / 8) && s * 2 <= (int64_t(1) << 30))
        s *= 2;
    return int32_t(s);
}

bool chooseSegment(size_t n, int32_t segment, int32_t& chosen, std::string* error) {
    int32_t s = segment == 0 ? defaultSegment(n) : segment;
    std::string why;
    if (s < 8 || s % 2 != 0)
        why = "the segment must be an even number of at least 8 samples";
    else if (size_t(s) > n)
        why = "the block of " + std::to_string(n) + " samples is shorter than a segment of " +
              std::to_string(s);
    if (!why.empty()) {
        if (error) *error = why;
        return false;
    }
    chosen = s;
    return true;
}

bool segmentSpectra(const std::vector<double>& values, double sampleRate, int32_t segment,
                    SegmentSpectra& out, std::string* error) {
    return segmentSpectra(values, sampleRate, segment, true, out, error);
}

bool segmentSpectra(const std::vector<double>& values, double sampleRate, int32_t segment,
                    bool removeSegmentMeans, SegmentSpectra& out, std::string* error) {
    return visitSegmentSpectra(
        values, sampleRate, segment, removeSegmentMeans, out,
        [&](int32_t s, const std::complex<double>* bins) {
            if (s == 0) out.coefficients.assign(size_t(out.segmentCount) * out.bins(), {});
            std::copy(bins, bins + out.bins(), &out.coefficients[size_t(s) * out.bins()]);
        },
        error);
}

bool visitSegmentSpectra(const std::vector<double>& values, double sampleRate, int32_t segment,
                         bool removeSegmentMeans, SegmentSpectra& out, const SegmentVisitor& visit,
                         std::string* error) {
    auto fail = [&](const char* why) {
        if (error) *error = why;
        return false;
    };
    if (!(sampleRate > 0) || !std::isfinite(sampleRate))
        return fail("the sample rate is not positive");
    int32_t n = 0;
    if (!chooseSegment(values.size(), segment, n, error)) return false;
    const int32_t step = n / 2;
    const int32_t count = int32_t((values.size() - size_t(n)) / size_t(step)) + 1;
    const std::vector<double> w = hannWindow(n);
    const double sumW2 = std::inner_product(w.begin(), w.end(), w.begin(), 0.0);
    out.segment = n;
    out.segmentCount = count;
    out.densityFactor = 2.0 / (sampleRate * sumW2);
    out.dof = welchDegreesOfFreedom(w, step, count);
    out.coefficients.clear();
    FftBuffer z(n);
    if (!z.valid()) return fail("out of memory for the transform");
    std::vector<double> a(static_cast<size_t>(n)), b(static_cast<size_t>(n));
    const size_t bins = out.bins();
    std::vector<std::complex<double>> pair(2 * bins);
    for (int32_t s = 0; s < count; s += 2) {
        bool two = s + 1 < count;
        loadSegment(values, size_t(s) * size_t(step), w, removeSegmentMeans, a);
        if (two) loadSegment(values, size_t(s + 1) * size_t(step), w, removeSegmentMeans, b);
        for (int32_t i = 0; i < n; ++i)
            z[i] = {a[size_t(i)], two ? b[size_t(i)] : 0.0};
        if (!executeDft(z, -1)) return fail("the Fourier transform could not be planned");
        splitPair(z, n, pair.data(), two ? pair.data() + bins : nullptr);
        visit(s, pair.data());
        if (two) visit(s + 1, pair.data() + bins);
    }
    return true;
}

bool realTransformPair(const double* a, const double* b, int32_t n, std::complex<double>* outA,
                       std::complex<double>* outB) {
    FftBuffer z(n);
    if (!z.valid()) return false;
    for (int32_t i = 0; i < n; ++i)
        z[i] = {a[i], b ? b[i] : 0.0};
    if (!executeDft(z, -1)) return false;
    splitPair(z, n, outA, b ? outB : nullptr);
    return true;
}

bool varianceSpectrum(const BlockValues& block, int32_t segment, VarianceSpectrum& out,
                      std::string* error) {
    return varianceSpectrum(block, segment, Detrend::Mean, out, error);
}

// The block is detrended whole, not segment by segment: a gauge's drift is
// one line over the record, and a line fitted to each segment would also
// take out the slow waves (seiching, long waves) at the segment's scale and
// leave no single block whose variance the density could be scaled to. Each
// segment then loses only its own mean, as Welch's segments always have.
bool varianceSpectrum(const BlockValues& block, int32_t segment, Detrend detrend,
                      VarianceSpectrum& out, std::string* error) {
    std::vector<double> x = block.values;
    detrendValues(x, detrend);
    SegmentSpectra seg;
    std::vector<double> density;
    // Summed segment by segment as they come: the coefficients of all the
    // segments together would take 16 bytes a sample, and their memory more
    // time than the sums.
    auto add = [&](int32_t, const std::complex<double>* coefficients) {
        density.resize(seg.bins(), 0.0);
        for (size_t j = 0; j < density.size(); ++j)
            density[j] += std::norm(coefficients[j]);
    };
    if (!visitSegmentSpectra(x, block.sampleRate, segment, detrend != Detrend::None, seg, add,
                             error))
        return false;
    const size_t bins = seg.bins();
    density.resize(bins, 0.0);
    for (size_t j = 0; j < bins; ++j) {
        bool edge = j == 0 || j == bins - 1;
        density[j] *= seg.densityFactor * (edge ? 0.5 : 1.0) / seg.segmentCount;
    }
    VarianceSpectrum result;
    result.df = block.sampleRate / seg.segment;
    result.segment = seg.segment;
    result.segmentCount = seg.segmentCount;
    result.dof = seg.dof;
    // Rescale to the detrended block's own variance: the window weighs the
    // ends of the record less, and the per-segment means take out the
    // slowest variation.
    const double variance = detrendedPower(x);
    double total = std::accumulate(density.begin(), density.end(), 0.0) * result.df;
    if (total > 0)
        for (double& d : density)
            d *= variance / total;
    result.density = std::move(density);
    out = std::move(result);
    return true;
}

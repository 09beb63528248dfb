#include "waves/variance_spectrum.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "analysis/fft_plan.h"
#include "numeric/constants.h"
#include "numeric/lane_sum.h"
#include "numeric/two_threads.h"
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

// The segment of x from `first`, less `line` (the block's trend) and, when
// asked, the segment's own mean, windowed by w, into out[0], out[stride], ...
void loadSegment(const std::vector<double>& x, size_t first, const DetrendLine& line,
                 const std::vector<double>& w, bool removeMean, double* out, size_t stride) {
    const size_t n = w.size();
    const double* in = x.data() + first;
    auto value = [&](size_t i) { return in[i] - line.at(first + i); };
    const double mean = removeMean ? laneSum(n, value) / double(n) : 0.0;
    for (size_t i = 0; i < n; ++i)
        out[i * stride] = (value(i) - mean) * w[i];
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

namespace {

// What the segments of one block share.
struct SegmentLayout {
    int32_t n = 0;     // samples per segment
    int32_t step = 0;  // between segment starts
    int32_t count = 0; // segments
    std::vector<double> window;
    DetrendLine line; // taken out of the block first
};

// Checks the rate and segment and fills `layout` and all of `out` but its
// coefficients.
bool layOutSegments(size_t values, double sampleRate, int32_t segment, SegmentLayout& layout,
                    SegmentSpectra& out, std::string* error) {
    if (!(sampleRate > 0) || !std::isfinite(sampleRate)) {
        if (error) *error = "the sample rate is not positive";
        return false;
    }
    int32_t n = 0;
    if (!chooseSegment(values, segment, n, error)) return false;
    layout.n = n;
    layout.step = n / 2;
    layout.count = int32_t((values - size_t(n)) / size_t(layout.step)) + 1;
    layout.window = hannWindow(n);
    const std::vector<double>& w = layout.window;
    const double sumW2 = std::inner_product(w.begin(), w.end(), w.begin(), 0.0);
    out.segment = n;
    out.segmentCount = layout.count;
    out.densityFactor = 2.0 / (sampleRate * sumW2);
    out.dof = welchDegreesOfFreedom(w, layout.step, layout.count);
    out.coefficients.clear();
    return true;
}

// Visits segments first .. last - 1 (first even), two at a time through one
// complex transform; why it could not, or null.
const char* visitSegments(const std::vector<double>& values, const SegmentLayout& layout,
                          bool removeSegmentMeans, int32_t first, int32_t last,
                          const SegmentVisitor& visit) {
    const int32_t n = layout.n;
    FftBuffer z(n);
    if (!z.valid()) return "out of memory for the transform";
    double* parts = reinterpret_cast<double*>(z.data()); // re, im, re, im, ...
    const size_t bins = size_t(n / 2 + 1);
    std::vector<std::complex<double>> pair(2 * bins);
    for (int32_t s = first; s < last; s += 2) {
        bool two = s + 1 < last;
        const size_t at = size_t(s) * size_t(layout.step);
        loadSegment(values, at, layout.line, layout.window, removeSegmentMeans, parts, 2);
        if (two)
            loadSegment(values, at + size_t(layout.step), layout.line, layout.window,
                        removeSegmentMeans, parts + 1, 2);
        else
            for (int32_t i = 0; i < n; ++i)
                parts[2 * i + 1] = 0.0;
        if (!executeDft(z, -1)) return "the Fourier transform could not be planned";
        splitPair(z, n, pair.data(), two ? pair.data() + bins : nullptr);
        visit(s, pair.data());
        if (two) visit(s + 1, pair.data() + bins);
    }
    return nullptr;
}

// Blocks from this long are summed on two threads, half of the segments
// each: below it a thread costs more than it saves.
constexpr size_t VALUES_FOR_TWO_THREADS = size_t(1) << 17;

// The sum over the segments of |X_j|^2, bins j = 0 .. n/2; why it could not
// be had, or null.
const char* segmentPowerSum(const std::vector<double>& values, const SegmentLayout& layout,
                            bool removeSegmentMeans, std::vector<double>& sum) {
    const int32_t pairs = (layout.count + 1) / 2;
    const size_t bins = size_t(layout.n / 2 + 1);
    std::vector<double> part[2];
    const char* why[2] = {nullptr, nullptr};
    onTwoThreads(values.size() >= VALUES_FOR_TWO_THREADS && pairs >= 2, [&](int k, int parts) {
        const int32_t first = 2 * (pairs * k / parts);
        const int32_t last = std::min(layout.count, 2 * (pairs * (k + 1) / parts));
        std::vector<double>& power = part[k];
        power.assign(bins, 0.0);
        why[k] = visitSegments(values, layout, removeSegmentMeans, first, last,
                               [&](int32_t, const std::complex<double>* coefficients) {
                                   for (size_t j = 0; j < bins; ++j)
                                       power[j] += std::norm(coefficients[j]);
                               });
    });
    if (why[0] || why[1]) return why[0] ? why[0] : why[1];
    sum = std::move(part[0]);
    for (size_t j = 0; j < part[1].size(); ++j)
        sum[j] += part[1][j];
    return nullptr;
}

} // namespace

bool visitSegmentSpectra(const std::vector<double>& values, double sampleRate, int32_t segment,
                         bool removeSegmentMeans, SegmentSpectra& out, const SegmentVisitor& visit,
                         std::string* error) {
    SegmentLayout layout;
    if (!layOutSegments(values.size(), sampleRate, segment, layout, out, error)) return false;
    const char* why = visitSegments(values, layout, removeSegmentMeans, 0, layout.count, visit);
    if (why && error) *error = why;
    return !why;
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
// leave no single block to count the variance below f1 from. Each segment
// then loses only its own mean, as Welch's segments always have.
bool varianceSpectrum(const BlockValues& block, int32_t segment, Detrend detrend,
                      VarianceSpectrum& out, std::string* error) {
    const std::vector<double>& x = block.values;
    SegmentSpectra seg;
    SegmentLayout layout;
    if (!layOutSegments(x.size(), block.sampleRate, segment, layout, seg, error)) return false;
    layout.line = detrendLine(x, detrend);
    // Summed segment by segment as they come: the coefficients of all the
    // segments together would take 16 bytes a sample, and their memory more
    // time than the sums.
    std::vector<double> density;
    if (const char* why = segmentPowerSum(x, layout, detrend != Detrend::None, density)) {
        if (error) *error = why;
        return false;
    }
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
    // Welch's density as it is: a band holds what the segments saw in it. What
    // the segments' own means took out (a seiche or drift slower than one
    // segment) is told apart instead of spread over every bin.
    const double variance = detrendedPower(x, layout.line);
    const double aboveF1 = std::accumulate(density.begin() + 1, density.end(), 0.0) * result.df;
    // The window weighs the record's ends less, so with nothing below f1 the
    // difference is as likely a little below zero as above it.
    result.varianceBelowF1 = std::max(0.0, variance - aboveF1);
    result.density = std::move(density);
    out = std::move(result);
    return true;
}

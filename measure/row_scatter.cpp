#include "measure/row_scatter.h"

#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

// Rows first .. first + count - 1 of channels from .. channels - 1, one value
// at a time.
void scatterPlain(const float* rows, int64_t first, int64_t count, int from, int channels,
                  float* columns, int64_t stride) {
    for (int c = from; c < channels; ++c) {
        float* out = columns + c * stride;
        for (int64_t r = first; r < first + count; ++r)
            out[r] = rows[r * channels + c];
    }
}

void gatherPlain(const float* columns, int64_t stride, int64_t first, int64_t count, int from,
                 int channels, float* rows) {
    for (int c = from; c < channels; ++c) {
        const float* in = columns + c * stride;
        for (int64_t r = first; r < first + count; ++r)
            rows[r * channels + c] = in[r];
    }
}

} // namespace

void scatterRows(const float* rows, int64_t count, int channels, float* columns, int64_t stride) {
    if (channels == 1) {
        std::memcpy(columns, rows, size_t(count) * sizeof(float));
        return;
    }
#if defined(__SSE2__)
    // Four rows of four channels at a time, turned in registers: the record
    // is written once, in whole vectors, which is what its speed depends on.
    const int64_t fours = count & ~int64_t(3);
    const int grouped = channels & ~3;
    for (int64_t r = 0; r < fours; r += 4) {
        const float* in = rows + r * channels;
        for (int c = 0; c < grouped; c += 4) {
            __m128 a = _mm_loadu_ps(in + c), b = _mm_loadu_ps(in + channels + c),
                   d = _mm_loadu_ps(in + 2 * channels + c), e = _mm_loadu_ps(in + 3 * channels + c);
            _MM_TRANSPOSE4_PS(a, b, d, e);
            _mm_storeu_ps(columns + c * stride + r, a);
            _mm_storeu_ps(columns + (c + 1) * stride + r, b);
            _mm_storeu_ps(columns + (c + 2) * stride + r, d);
            _mm_storeu_ps(columns + (c + 3) * stride + r, e);
        }
    }
    scatterPlain(rows, 0, fours, grouped, channels, columns, stride);
    scatterPlain(rows, fours, count - fours, 0, channels, columns, stride);
#else
    scatterPlain(rows, 0, count, 0, channels, columns, stride);
#endif
}

void gatherRows(const float* columns, int64_t stride, int64_t count, int channels, float* rows) {
    if (channels == 1) {
        std::memcpy(rows, columns, size_t(count) * sizeof(float));
        return;
    }
#if defined(__SSE2__)
    const int64_t fours = count & ~int64_t(3);
    const int grouped = channels & ~3;
    for (int64_t r = 0; r < fours; r += 4) {
        float* out = rows + r * channels;
        for (int c = 0; c < grouped; c += 4) {
            __m128 a = _mm_loadu_ps(columns + c * stride + r),
                   b = _mm_loadu_ps(columns + (c + 1) * stride + r),
                   d = _mm_loadu_ps(columns + (c + 2) * stride + r),
                   e = _mm_loadu_ps(columns + (c + 3) * stride + r);
            _MM_TRANSPOSE4_PS(a, b, d, e);
            _mm_storeu_ps(out + c, a);
            _mm_storeu_ps(out + channels + c, b);
            _mm_storeu_ps(out + 2 * channels + c, d);
            _mm_storeu_ps(out + 3 * channels + c, e);
        }
    }
    gatherPlain(columns, stride, 0, fours, grouped, channels, rows);
    gatherPlain(columns, stride, fours, count - fours, 0, channels, rows);
#else
    gatherPlain(columns, stride, 0, count, 0, channels, rows);
#endif
}

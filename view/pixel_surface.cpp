#include "view/pixel_surface.h"

namespace {

// floor(a / b) for b > 0.
int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The minor coordinate at step t of n along a segment whose minor axis
// changes by `delta`: the nearest pixel, halves rounded upwards.
int64_t minorAt(int64_t start, int64_t delta, int64_t t, int64_t n) {
    return start + floorDiv(2 * t * delta + n, 2 * n);
}

// The first step in [lo, hi] whose minor coordinate reaches `limit` (coming
// from below when the minor axis grows, from above when it shrinks); hi + 1
// when none does. minorAt is monotonic in t, so halving the range finds it.
int64_t firstStepPast(int64_t start, int64_t delta, int64_t n, int64_t lo, int64_t hi,
                      int64_t limit, bool growing) {
    while (lo <= hi) {
        int64_t mid = lo + (hi - lo) / 2;
        int64_t m = minorAt(start, delta, mid, n);
        bool past = growing ? m >= limit : m < limit;
        if (past)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return lo;
}

void drawSegment(PixelSurface& s, PixelPoint a, PixelPoint b, uint32_t colour) {
    int64_t dx = int64_t(b.x) - a.x;
    int64_t dy = int64_t(b.y) - a.y;
    if (dx == 0 && dy == 0) return;
    bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    int64_t majorStart = xMajor ? a.x : a.y;
    int64_t majorDelta = xMajor ? dx : dy;
    int64_t minorStart = xMajor ? a.y : a.x;
    int64_t minorDelta = xMajor ? dy : dx;
    int64_t majorLimit = xMajor ? s.width : s.height;
    int64_t minorLimit = xMajor ? s.height : s.width;
    int64_t n = majorDelta < 0 ? -majorDelta : majorDelta;
    int64_t step = majorDelta < 0 ? -1 : 1;

    // Steps t = 0 .. n - 1 (the end pixel is the next segment's), kept to
    // those whose major coordinate lies on the surface...
    int64_t tLo = 0, tHi = n - 1;
    if (step > 0) {
        if (majorStart < 0) tLo = -majorStart;
        if (majorStart + tHi >= majorLimit) tHi = majorLimit - 1 - majorStart;
    } else {
        if (majorStart >= majorLimit) tLo = majorStart - (majorLimit - 1);
        if (majorStart - tHi < 0) tHi = majorStart;
    }
    if (tLo > tHi) return;
    // ...and whose minor coordinate does too.
    bool growing = minorDelta >= 0;
    int64_t enter =
        firstStepPast(minorStart, minorDelta, n, tLo, tHi, growing ? 0 : minorLimit, growing);
    int64_t leave =
        firstStepPast(minorStart, minorDelta, n, tLo, tHi, growing ? minorLimit : 0, growing);
    tLo = enter;
    tHi = leave - 1;
    // minorAt stepped along without dividing: its numerator 2tΔ + n grows by
    // 2Δ a step, |2Δ| <= 2n, so the quotient moves by at most one.
    const int64_t twoN = 2 * n, twoDelta = 2 * minorDelta;
    int64_t numerator = 2 * tLo * minorDelta + n;
    const int64_t quotient = floorDiv(numerator, twoN);
    int64_t rest = numerator - quotient * twoN; // 0 .. 2n - 1
    const int64_t minor = minorStart + quotient, major = majorStart + step * tLo;
    const int64_t majorStride = xMajor ? step : step * s.stride;
    const int64_t minorStride = xMajor ? s.stride : 1;
    int64_t at = xMajor ? minor * s.stride + major : major * s.stride + minor;
    for (int64_t t = tLo; t <= tHi; ++t) {
        s.bits[at] = colour;
        at += majorStride;
        rest += twoDelta;
        if (rest >= twoN) {
            rest -= twoN;
            at += minorStride;
        } else if (rest < 0) {
            rest += twoN;
            at -= minorStride;
        }
    }
}

} // namespace

void drawPolyline(PixelSurface& surface, const PixelPoint* points, size_t n, uint32_t colour) {
    for (size_t i = 1; i < n; ++i)
        drawSegment(surface, points[i - 1], points[i], colour);
}

void fillRect(PixelSurface& surface, int64_t x, int64_t y, int64_t width, int64_t height,
              uint32_t colour) {
    int64_t x0 = x < 0 ? 0 : x;
    int64_t y0 = y < 0 ? 0 : y;
    int64_t x1 = x + width > surface.width ? surface.width : x + width;
    int64_t y1 = y + height > surface.height ? surface.height : y + height;
    for (int64_t row = y0; row < y1; ++row)
        for (int64_t col = x0; col < x1; ++col)
            surface.bits[row * surface.stride + col] = colour;
}

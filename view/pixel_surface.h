// Drawing the curves straight into a band image's pixels.
//
// The curves are drawn with the rules of the pen they were designed for: a
// one-pixel solid line covers, for each segment, the pixels from its start up
// to but not including its end, chosen by rounding along the longer axis.
// Every segment's pixels depend on its two end points only. That is what makes
// drawing a column's first, extreme and last samples give exactly the pixels
// of drawing all of them; a stroker that joins segments (dropping or adding
// pixels where the direction turns) does not have that property.
#pragma once

#include <cstddef>
#include <cstdint>

struct PixelPoint {
    int32_t x;
    int32_t y;
};

// 32-bit pixels, `stride` pixels from one row to the next; drawing is
// clipped to 0 <= x < width, 0 <= y < height.
struct PixelSurface {
    uint32_t* bits;
    int32_t stride;
    int32_t width;
    int32_t height;
};

// The segments points[0] -> points[1] -> ... -> points[n - 1]; the last
// point itself is not drawn, as no segment starts there.
void drawPolyline(PixelSurface& surface, const PixelPoint* points, size_t n, uint32_t colour);

// The rectangle x .. x + width - 1, y .. y + height - 1, clipped.
void fillRect(PixelSurface& surface, int64_t x, int64_t y, int64_t width, int64_t height,
              uint32_t colour);

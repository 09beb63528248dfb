#include "view/pixel_surface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t INK = 0xff000000u;
constexpr uint32_t PAPER = 0xffffffffu;

struct Canvas {
    Canvas(int32_t w, int32_t h) : pixels(size_t(w) * h, PAPER), surface{pixels.data(), w, w, h} {}
    std::set<std::pair<int, int>> inked() const {
        std::set<std::pair<int, int>> out;
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x)
                if (pixels[size_t(y) * surface.stride + x] == INK) out.insert({x, y});
        return out;
    }
    std::vector<uint32_t> pixels;
    PixelSurface surface;
};

std::set<std::pair<int, int>> drawn(std::vector<PixelPoint> points, int32_t w = 20,
                                    int32_t h = 20) {
    Canvas c(w, h);
    drawPolyline(c.surface, points.data(), points.size(), INK);
    return c.inked();
}

} // namespace

TEST(PixelSurface, ASegmentCoversItsStartButNotItsEnd) {
    using Set = std::set<std::pair<int, int>>;
    EXPECT_EQ(drawn({{1, 2}, {4, 2}}), (Set{{1, 2}, {2, 2}, {3, 2}}));
    EXPECT_EQ(drawn({{3, 5}, {3, 2}}), (Set{{3, 5}, {3, 4}, {3, 3}}));
    // y-major, x = round(t * 3 / 6) with halves up: 0, 1, 1, 2, 2, 3
    EXPECT_EQ(drawn({{0, 0}, {3, 6}}), (Set{{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}, {3, 5}}));
    EXPECT_TRUE(drawn({{4, 4}, {4, 4}}).empty());
    // a polyline: every vertex but the last starts a segment
    EXPECT_EQ(drawn({{2, 2}, {2, 4}, {2, 1}}), (Set{{2, 2}, {2, 3}, {2, 4}, {2, 3}, {2, 2}}));
}

// Clipping must not move a single pixel: a segment drawn into a small
// surface is the same as the part of it drawn into a large one.
TEST(PixelSurface, ClippedSegmentsKeepTheirPixels) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coordinate(-150, 250);
    for (int trial = 0; trial < 2000; ++trial) {
        PixelPoint a{coordinate(rng), coordinate(rng)}, b{coordinate(rng), coordinate(rng)};
        Canvas small(100, 60), large(400, 400);
        drawPolyline(small.surface, std::vector<PixelPoint>{a, b}.data(), 2, INK);
        PixelPoint la{a.x + 150, a.y + 150}, lb{b.x + 150, b.y + 150};
        drawPolyline(large.surface, std::vector<PixelPoint>{la, lb}.data(), 2, INK);
        std::set<std::pair<int, int>> expected;
        for (auto [x, y] : large.inked())
            if (x - 150 >= 0 && x - 150 < 100 && y - 150 >= 0 && y - 150 < 60)
                expected.insert({x - 150, y - 150});
        ASSERT_EQ(small.inked(), expected) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
    }
}

// Each step of a segment lands on the pixel nearest the true line along its
// minor axis, halves rounded upwards, however long and steep the segment.
TEST(PixelSurface, EveryStepIsTheRoundedLine) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> coordinate(0, 299);
    for (int trial = 0; trial < 500; ++trial) {
        PixelPoint a{coordinate(rng), coordinate(rng)}, b{coordinate(rng), coordinate(rng)};
        const int64_t dx = b.x - a.x, dy = b.y - a.y;
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        const int64_t n = xMajor ? std::abs(dx) : std::abs(dy);
        std::set<std::pair<int, int>> expected;
        for (int64_t t = 0; t < n; ++t) {
            const int64_t delta = xMajor ? dy : dx;
            const int64_t num = 2 * t * delta + n, den = 2 * n;
            const int64_t minor = num / den - (num % den != 0 && num < 0);
            const int64_t major =
                (xMajor ? a.x : a.y) + (xMajor ? (dx < 0 ? -t : t) : (dy < 0 ? -t : t));
            expected.insert(xMajor ? std::make_pair(int(major), int(a.y + minor))
                                   : std::make_pair(int(a.x + minor), int(major)));
        }
        ASSERT_EQ(drawn({a, b}, 300, 300), expected)
            << a.x << "," << a.y << " -> " << b.x << "," << b.y;
    }
}

TEST(PixelSurface, FarAwayEndPointsAreClippedNotWalked) {
    // 2^25 rows long; only the ten on the surface are visited
    auto pixels = drawn({{5, -(1 << 24)}, {5, 1 << 24}}, 10, 10);
    EXPECT_EQ(pixels.size(), 10u);
}

TEST(PixelSurface, FillRectIsClipped) {
    Canvas c(5, 4);
    fillRect(c.surface, -3, 2, 5, 100, INK);
    std::set<std::pair<int, int>> expected{{0, 2}, {1, 2}, {0, 3}, {1, 3}};
    EXPECT_EQ(c.inked(), expected);
}

// Parameters that make no sea are refused with one line saying why.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "sea/sea_parameters.h"

TEST(SeaParameters, DefaultsAndTheirBand) {
    SeaParameters p;
    EXPECT_EQ(validateSeaParameters(p), "");
    EXPECT_EQ(seaSampleCount(p), 90000);
    EXPECT_DOUBLE_EQ(seaBandLow(p), 0.3125);
    EXPECT_DOUBLE_EQ(seaBandHigh(p), 1.875);
    EXPECT_DOUBLE_EQ(seaRampSeconds(p), 3.2);
    // A coarse time step: a quarter of the sampling rate bounds the band.
    p.dt = 0.2;
    EXPECT_DOUBLE_EQ(seaBandHigh(p), 1.25);
}

TEST(SeaParameters, BadInputIsNamed) {
    struct Case {
        std::function<void(SeaParameters&)> change;
        const char* why;
    };
    const Case cases[] = {
        {[](SeaParameters& p) { p.hm0 = 0; }, "Hm0 must be a number above 0 m"},
        {[](SeaParameters& p) { p.hm0 = -0.1; }, "Hm0 must be a number above 0 m"},
        {[](SeaParameters& p) { p.fmin = 0.7; },
         "Tp must lie inside the band: 0.533333 s <= Tp <= 1.42857 s (fmin 0.7 Hz)"},
        {[](SeaParameters& p) { p.fmax = 0.5; },
         "Tp must lie inside the band: 2 s <= Tp <= 3.2 s (fmin 0.3125 Hz)"},
        {[](SeaParameters& p) { p.dt = 0.5; },
         "Tp must lie inside the band: 2 s <= Tp <= 3.2 s (fmin 0.3125 Hz)"},
        {[](SeaParameters& p) { p.depth = 0; }, "the depth must be a number above 0 m"},
        {[](SeaParameters& p) { p.depth = -1; }, "the depth must be a number above 0 m"},
        {[](SeaParameters& p) {
             p.paddle = {PaddleType::Flap, 0.6};
         },
         "the hinge must lie at or above the bottom and below the water: 0 <= hinge < 0.6 m"},
        {[](SeaParameters& p) {
             p.paddle = {PaddleType::Piston, 0.2};
         },
         "a piston has no hinge; --hinge is for a flap"},
        {[](SeaParameters& p) {
             p.spectrum = SpectrumShape::Table;
             p.table = {{0.5, 0.4}, {1, 1}};
         },
         "the spectrum table's frequencies must increase, but row 2's is not above the one "
         "before"},
        {[](SeaParameters& p) { p.gamma = 0.5; }, "gamma must lie between 1 and 20"},
        {[](SeaParameters& p) { p.fmax = 30; },
         "fmax must lie above fmin (0.3125 Hz) and below half the sampling rate (25 Hz)"},
        {[](SeaParameters& p) { p.ramp = 1000; },
         "the ramps must lie between 0 s and half the duration (900 s)"},
        {[](SeaParameters& p) { p.duration = 0.1; },
         "the duration must hold at least 16 time steps (0.32 s)"},
        {[](SeaParameters& p) { p.dt = 0; }, "the time step must be a number above 0 s"},
        {[](SeaParameters& p) { p.maxStroke = -1; },
         "the largest stroke must be a number >= 0 m (0: no limit)"},
        {[](SeaParameters& p) {
             p.regular = true;
             p.regularHeight = 0.1;
             p.regularPeriod = 0.03;
         },
         "the regular wave's period must be above two time steps (0.04 s)"},
    };
    for (const Case& c : cases) {
        SeaParameters p;
        c.change(p);
        EXPECT_EQ(validateSeaParameters(p), c.why);
    }
    // A regular sea needs no spectrum: its Hm0 is not asked for.
    SeaParameters p;
    p.regular = true;
    p.regularHeight = 0.1;
    p.regularPeriod = 2;
    p.hm0 = 0;
    EXPECT_EQ(validateSeaParameters(p), "");
}

TEST(SeaParameters, NamesOfTheChoices) {
    SpectrumShape s;
    ASSERT_TRUE(spectrumShapeNamed("tma", s));
    EXPECT_EQ(s, SpectrumShape::Tma);
    EXPECT_FALSE(spectrumShapeNamed("JONSWAP ", s));
    PaddleType t;
    ASSERT_TRUE(paddleTypeNamed("flap", t));
    EXPECT_STREQ(paddleTypeName(t), "flap");
    SeaMethod m;
    ASSERT_TRUE(seaMethodNamed("amplitude", m));
    EXPECT_STREQ(seaMethodName(m), "amplitude");
}

// What a flume cannot carry or a paddle cannot make is refused before any
// drive is made: it would come out as NaN, infinities or kilometres of stroke.
TEST(SeaParameters, WavesBeyondTheFlumeAndPaddleAreRefused) {
    struct Case {
        std::function<void(SeaParameters&)> change;
        const char* why;
    };
    const Case cases[] = {
        {[](SeaParameters& p) { p.hm0 = 5; },
         "Hm0 must be at most 0.78 of the depth, the height at which waves break: 0.468 m"},
        {[](SeaParameters& p) { p.hm0 = 1e200; },
         "Hm0 must be at most 0.78 of the depth, the height at which waves break: 0.468 m"},
        {[](SeaParameters& p) { p.depth = 1e-300; },
         "Hm0 must be at most 0.78 of the depth, the height at which waves break: 7.8e-301 m"},
        {[](SeaParameters& p) {
             p.regular = true;
             p.regularHeight = 0.5;
             p.regularPeriod = 2;
         },
         "the regular wave's height must be at most 0.78 of the depth, the height at which waves "
         "break: 0.468 m"},
        // Deep water: L = g T^2 / 2 pi = 1.56 m at 1 s.
        {[](SeaParameters& p) {
             p.depth = 10;
             p.hm0 = 0.4;
             p.tp = 1;
         },
         "Hm0 must be at most 1/7 of the wavelength at the peak period (1.56131 m), the steepest "
         "wave that does not break: 0.223044 m"},
        {[](SeaParameters& p) {
             p.paddle = {PaddleType::Flap, 0.6 - 1e-10};
         },
         "the paddle makes a wave of only"},
        {[](SeaParameters& p) { p.fmin = -0.1; },
         "fmin must be a number >= 0 Hz (0: half the peak frequency)"},
        {[](SeaParameters& p) { p.fmin = NAN; },
         "fmin must be a number >= 0 Hz (0: half the peak frequency)"},
        {[](SeaParameters& p) { p.fmax = -1; },
         "fmax must be a number >= 0 Hz (0: the default band's top)"},
        {[](SeaParameters& p) { p.ramp = -0.5; },
         "the ramps must be a number of seconds >= 0 (-1: two peak periods)"},
        {[](SeaParameters& p) { p.ramp = NAN; },
         "the ramps must be a number of seconds >= 0 (-1: two peak periods)"},
    };
    for (const Case& c : cases) {
        SeaParameters p;
        c.change(p);
        EXPECT_EQ(validateSeaParameters(p).rfind(c.why, 0), 0u) << validateSeaParameters(p);
    }
    // At the limits themselves the sea is made.
    SeaParameters p;
    p.hm0 = 0.78 * p.depth;
    p.tp = 4;
    EXPECT_EQ(validateSeaParameters(p), "");
    p.paddle = {PaddleType::Flap, 0.55};
    EXPECT_EQ(validateSeaParameters(p), "");
}

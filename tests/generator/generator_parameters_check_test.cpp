#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>

#include "generator/generator_layout.h"
#include "generator_test_support.h"

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double INF = std::numeric_limits<double>::infinity();

struct BadCase {
    const char* what;
    std::function<void(GeneratorParameters&)> spoil;
};

} // namespace

TEST(GeneratorParametersCheck, DefaultsAndEveryModelPass) {
    for (int model = 0; model < 7; ++model)
        EXPECT_EQ(checkGeneratorParameters(withModel(model)), "") << model;
}

TEST(GeneratorParametersCheck, BadValuesAreRejectedWithAReasonAndNoSamples) {
    const BadCase cases[] = {
        {"time step 0", [](auto& p) { p.okres_probkowania = 0.0; }},
        {"negative time step", [](auto& p) { p.okres_probkowania = -0.02; }},
        {"NaN time step", [](auto& p) { p.okres_probkowania = NaN; }},
        {"denormal time step", [](auto& p) { p.okres_probkowania = 1e-320; }},
        {"wave length 0", [](auto& p) { p.dlugosc_fali = 0.0; }},
        {"infinite wave length", [](auto& p) { p.dlugosc_fali = INF; }},
        {"tiny wave length", [](auto& p) { p.dlugosc_fali = 1e-310; }},
        {"depth 0", [](auto& p) { p.wysokosc_wody = 0.0; }},
        {"NaN depth", [](auto& p) { p.wysokosc_wody = NaN; }},
        {"rise factor 0", [](auto& p) { p.narastanie = 0.0; }},
        {"negative rise factor", [](auto& p) { p.narastanie = -2.0; }},
        {"negative rise waves", [](auto& p) { p.czas_narastania = -1; }},
        {"negative steady waves", [](auto& p) { p.czas_ustalony = -5; }},
        {"negative decay waves", [](auto& p) { p.czas_zaniku = INT_MIN; }},
        {"negative degree", [](auto& p) { p.stopien_rozniczkowalnosci = -1; }},
        {"huge degree", [](auto& p) { p.stopien_rozniczkowalnosci = INT_MAX; }},
        {"model 7", [](auto& p) { p.model_generacji = 7; }},
        {"model -1", [](auto& p) { p.model_generacji = -1; }},
        {"too many waves", [](auto& p) { p.czas_ustalony = INT_MAX; }},
        {"too fine a step", [](auto& p) { p.okres_probkowania = 1e-6; }},
        // b = 2e-6 / T: b^3 = 1.6e-19 is below the solver's pivot threshold.
        {"chain too slow for its degree",
         [](auto& p) {
             p.narastanie = 2e-6;
             p.stopien_rozniczkowalnosci = 3;
         }},
        // b^101 overflows in formula A.
        {"overflowing corrections",
         [](auto& p) {
             p.model_generacji = 0;
             p.narastanie = 1e9;
             p.stopien_rozniczkowalnosci = 100;
         }},
        {"NaN xa (model 3)",
         [](auto& p) {
             p.model_generacji = 3;
             p.wspolczynnik_xa = NaN;
         }},
        {"infinite C2 (model 5)",
         [](auto& p) {
             p.model_generacji = 5;
             p.wspolczynnik_w2 = -INF;
         }},
        {"NW 0 (model 6)",
         [](auto& p) {
             p.model_generacji = 6;
             p.wielkosc_grupy = 0.0;
         }},
        {"NaN Cr (model 6)",
         [](auto& p) {
             p.model_generacji = 6;
             p.wspolczynnik_cr = NaN;
         }},
        {"NaN Fio (model 6)",
         [](auto& p) {
             p.model_generacji = 6;
             p.wspolczynnik_fio = NaN;
         }},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.what);
        GeneratorParameters p;
        c.spoil(p);
        EXPECT_NE(checkGeneratorParameters(p), "");

        // A generator that held a signal loses it: no stale samples under new
        // parameters.
        CGenerator g(GeneratorParameters{});
        ASSERT_TRUE(GeneratorSynthesis(g));
        g.parameters = p;
        std::string error;
        EXPECT_FALSE(GeneratorSynthesis(g, &error));
        EXPECT_NE(error, "");
        EXPECT_EQ(error.find('\n'), std::string::npos);
        EXPECT_EQ(g.sampleCount, 0);
        EXPECT_FALSE(g.hasSamples());
        EXPECT_EQ(g.channelCount, 2);
        EXPECT_TRUE(std::isfinite(g.sampleRate));
    }
}

TEST(GeneratorParametersCheck, SignalsBeyondSinglePrecisionAreRejected) {
    GeneratorParameters huge = withModel(3);
    huge.wspolczynnik_xa = 1e300;
    GeneratorParameters tinyGroups = withModel(6);
    tinyGroups.wielkosc_grupy = 1e-320; // the group phase overflows to infinity
    for (const GeneratorParameters& p : {huge, tinyGroups}) {
        CGenerator g(p);
        std::string error;
        EXPECT_FALSE(GeneratorSynthesis(g, &error));
        EXPECT_NE(error, "");
        EXPECT_EQ(g.sampleCount, 0);
        EXPECT_FALSE(g.hasSamples());
    }
}

TEST(GeneratorParametersCheck, ValuesTheModelDoesNotReadAreIgnored) {
    GeneratorParameters p = withModel(1);
    p.wspolczynnik_xa = NaN;
    p.wspolczynnik_w1 = INF;
    p.wielkosc_grupy = 0.0;
    p.wspolczynnik_cr = NaN;
    p.amplituda = NaN;
    EXPECT_EQ(checkGeneratorParameters(p), "");
}

TEST(GeneratorParametersCheck, SampleCountLimitIsTwoMebisamples) {
    // dt = T / 1000: a steady phase of W waves is 1000 W samples, plus one.
    GeneratorParameters p;
    p.czas_narastania = p.czas_zaniku = 0;
    GeneratorLayout layout;
    ASSERT_EQ(planGeneratorLayout(p, layout), "");
    p.okres_probkowania = layout.period / 1000.0;
    p.czas_ustalony = 2097; // 2 097 001 samples
    ASSERT_EQ(planGeneratorLayout(p, layout), "");
    EXPECT_EQ(layout.sampleCount, 2097001);
    p.czas_ustalony = 2098; // 2 098 001 samples
    EXPECT_NE(planGeneratorLayout(p, layout), "");
}

// Result plot ticks: over many random axes the labels never touch, each
// names the value its tick sits on, and the ticks are as dense as the labels
// allow; counts and powers of ten print as a reader expects. Legend entries
// wrap into rows within the plot's width.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "view/fitted_ticks.h"
#include "view/legend_layout.h"

namespace {

// A font of 7 pixels a character, 14 high.
int widthOf(const std::string& s) {
    return 7 * int(s.size());
}

void expectLabelsApart(const std::vector<FittedTick>& ticks, const LabelExtent& extent,
                       const std::string& what) {
    for (size_t i = 1; i < ticks.size(); ++i) {
        const int room = ticks[i].pixel - ticks[i - 1].pixel;
        EXPECT_GE(room, (extent(ticks[i].label) + extent(ticks[i - 1].label)) / 2 + TICK_LABEL_GAP)
            << what << " " << ticks[i - 1].label << " / " << ticks[i].label;
    }
}

// 0.5 below 1, 1 below 2, 2 below 5, times the step's power of ten.
double finerStep(double step) {
    const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double mantissa = std::round(step / power);
    return mantissa == 1 ? power / 2 : (mantissa == 2 ? power : 2 * power);
}

// Whether labels at every whole `step` of `axis` leave the gap between them.
bool fitsAt(const TickAxis& axis, double step, const LabelExtent& extent) {
    std::string before;
    double beforeAt = 0;
    for (double k = std::ceil(axis.lo / step - 1e-9); k * step <= axis.hi + step * 1e-9; k += 1) {
        const std::string label = fittedTickLabel(k * step, step, axis.format);
        const double at = std::lround((k * step - axis.lo) / (axis.hi - axis.lo) * axis.length);
        if (!before.empty() &&
            at - beforeAt < (extent(label) + extent(before) + 1) / 2 + TICK_LABEL_GAP)
            return false;
        before = label;
        beforeAt = at;
    }
    return true;
}

std::vector<std::string> labels(const std::vector<FittedTick>& ticks) {
    std::vector<std::string> out;
    for (const FittedTick& t : ticks)
        out.push_back(t.label);
    return out;
}

} // namespace

TEST(FittedTicks, LabelsFitNameTheirValuesAndAreAsDenseAsTheyCanBe) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> exponent(-6, 6), unit(0, 1);
    std::uniform_int_distribution<int> length(40, 2000);
    const LabelExtent across = widthOf;
    const LabelExtent upwards = [](const std::string&) { return 14; };
    for (int i = 0; i < 1000; ++i) {
        const double scale = std::pow(10.0, exponent(random));
        const double lo = (unit(random) - 0.5) * 4 * scale, hi = lo + scale * (0.1 + unit(random));
        const TickAxis axis{lo, hi, length(random), TickFormat::Decimal};
        const LabelExtent& extent = i % 2 ? across : upwards;
        const std::string what = std::to_string(lo) + ".." + std::to_string(hi) + " in " +
                                 std::to_string(axis.length) + " px";
        const std::vector<FittedTick> ticks = fittedTicks(axis, extent);
        expectLabelsApart(ticks, extent, what);
        if (ticks.size() < 2) continue;
        const double step = ticks[1].value - ticks[0].value;
        for (const FittedTick& t : ticks) {
            EXPECT_GE(t.value, lo - step * 1e-6) << what;
            EXPECT_LE(t.value, hi + step * 1e-6) << what;
            EXPECT_NEAR(std::strtod(t.label.c_str(), nullptr), t.value, step * 1e-3)
                << what << " " << t.label;
            EXPECT_NEAR(t.pixel, (t.value - lo) / (hi - lo) * axis.length, 1.0) << what;
        }
        // The next finer step of 1, 2, 5 would have let two labels touch:
        // the step was the finest that fitted, not a safe coarse one.
        EXPECT_FALSE(fitsAt(axis, finerStep(step), extent)) << what << " step " << step;
    }
}

TEST(FittedTicks, CountsArePrintedWholeAndNeverStepByLessThanOne) {
    // Three waves across a wide plot: 0.5 steps would fit but count nothing.
    const auto ticks = fittedTicks({1, 3, 1200, TickFormat::Count}, widthOf);
    EXPECT_EQ(labels(ticks), (std::vector<std::string>{"1", "2", "3"}));
    for (const FittedTick& t : fittedTicks({0, 2750, 300, TickFormat::Count}, widthOf))
        EXPECT_EQ(t.label.find('.'), std::string::npos) << t.label;
}

TEST(FittedTicks, DecimalsFollowTheStepAndPowersPrintTheirNumbers) {
    EXPECT_EQ(fittedTickLabel(0.1, 0.05, TickFormat::Decimal), "0.10");
    EXPECT_EQ(fittedTickLabel(0.4, 0.2, TickFormat::Decimal), "0.4");
    EXPECT_EQ(fittedTickLabel(15, 5, TickFormat::Decimal), "15");
    EXPECT_EQ(
        labels(fittedTicks({-2, 0, 300, TickFormat::Power}, [](const std::string&) { return 14; })),
        (std::vector<std::string>{"0.01", "0.1", "1"}));
    // A tick at zero is "0.0", never "-0.0".
    for (const FittedTick& t : fittedTicks({-0.01, 0.5, 600, TickFormat::Decimal}, widthOf))
        if (t.value == 0) {
            EXPECT_NE(t.label[0], '-') << t.label;
        }
}

TEST(FittedTicks, ABrokenOrTooShortAxisHasNoTicks) {
    EXPECT_TRUE(fittedTicks({1, 1, 500, TickFormat::Decimal}, widthOf).empty());
    EXPECT_TRUE(fittedTicks({2, 1, 500, TickFormat::Decimal}, widthOf).empty());
    EXPECT_TRUE(fittedTicks({0, NAN, 500, TickFormat::Decimal}, widthOf).empty());
    EXPECT_TRUE(fittedTicks({0, INFINITY, 500, TickFormat::Decimal}, widthOf).empty());
    EXPECT_TRUE(fittedTicks({0, 1, 0, TickFormat::Decimal}, widthOf).empty());
    // Not two labels in 20 pixels: none rather than labels that touch.
    EXPECT_TRUE(fittedTicks({0, 1000, 20, TickFormat::Decimal}, widthOf).empty());
}

TEST(LegendLayout, EntriesWrapIntoRowsWithinTheWidthOrAreLeftOut) {
    const std::vector<LegendSlot> one = legendSlots({100, 100, 100}, 400);
    ASSERT_EQ(one.size(), 3u);
    EXPECT_EQ(legendRows(one), 1);
    EXPECT_EQ(one[1].x, 100 + LEGEND_ENTRY_GAP);
    const std::vector<LegendSlot> two = legendSlots({100, 100, 100}, 250);
    ASSERT_EQ(two.size(), 3u);
    EXPECT_EQ(legendRows(two), 2);
    EXPECT_EQ(two[2].x, 0);
    EXPECT_EQ(two[2].row, 1);
    for (const LegendSlot& s : two)
        EXPECT_LE(s.x + 100, 250);
    EXPECT_TRUE(legendSlots({100, 300}, 250).empty());
}

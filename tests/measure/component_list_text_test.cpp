#include "measure/component_list_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

SignalParameters oneComponent() {
    SignalParameters p;
    resetParameters(p);
    p.componentCount = 1;
    SignalComponent& c = p.components[0];
    c.frequency = 0.5, c.amplitude = 2.0, c.k = 5.0, c.a = 1.0, c.d = 1.0, c.eta = 0.0;
    return p;
}

} // namespace

TEST(ComponentListText, WritesTheDialogLayoutAndReadsItBack) {
    // Channel 2, From 0, To 1000, one component: the four whole numbers, then
    // six "%6.4f" values in the list's column order.
    const std::string text = componentListText(BlockRange{2, 0, 1000}, oneComponent());
    EXPECT_EQ(text, "2\t0\t1000\t1\r\n"
                    "0.5000\t2.0000\t5.0000\t1.0000\t1.0000\t0.0000\r\n");
    BlockRange range{};
    SignalParameters back;
    std::string error;
    ASSERT_TRUE(parseComponentList(text, range, back, &error)) << error;
    EXPECT_EQ(range.channel, 2);
    EXPECT_EQ(range.to, 1000);
    ASSERT_EQ(back.componentCount, 1);
    EXPECT_EQ(back.components[0].amplitude, 2.0);
    EXPECT_EQ(back.components[0].d, 1.0);
    EXPECT_STREQ(back.components[0].name, "Component no 1");

    // LF line ends, any blanks, exponents and trailing blank lines are fine.
    ASSERT_TRUE(parseComponentList("1 10 20 2\n1 2 3 4 5 6\n  0.25\t1e-1 7 0 0 0  \n\n\r\n", range,
                                   back, &error))
        << error;
    EXPECT_EQ(range.from, 10);
    ASSERT_EQ(back.componentCount, 2);
    EXPECT_EQ(back.components[1].amplitude, 0.1);
    EXPECT_EQ(back.components[0].eta, 6.0);
    ASSERT_TRUE(parseComponentList("0\t5\t6\t0\r\n", range, back));
    EXPECT_EQ(back.componentCount, 0);
}

TEST(ComponentListText, MalformedTextIsRefusedWithItsLine) {
    struct Case {
        const char* text;
        const char* line;
    } cases[] = {
        {"", "line 1:"},
        {"1 2 3\r\n", "line 1:"},                                     // three head numbers
        {"1 2 3 1.5\r\n", "line 1:"},                                 // count not whole
        {"1 2 3 11\r\n", "line 1:"},                                  // more than ten
        {"1 2 3 2\r\n1 1 5 0 0 0\r\n", "line 1:"},                    // fewer lines than announced
        {"1 2 3 1\r\n1 1 5 0 0 0\r\n1 1 5 0 0 0\r\n", "line 1:"},     // more lines
        {"1 2 3 1\r\n1 1 5 0 0\r\n", "line 2:"},                      // five numbers
        {"1 2 3 1\r\n1 1 5x 0 0 0\r\n", "line 2:"},                   // word glued to a number
        {"1 2 3 1\r\n1 nan 5 0 0 0\r\n", "line 2:"},                  // not finite
        {"1 2 3 2\r\n1 1 5 0 0 0\r\n\r\n1 1 5 0 0 0\r\n", "line 3:"}, // blank line inside
    };
    for (const Case& c : cases) {
        BlockRange range{7, 8, 9};
        SignalParameters p = oneComponent();
        std::string error;
        EXPECT_FALSE(parseComponentList(c.text, range, p, &error)) << c.text;
        EXPECT_EQ(error.compare(0, std::strlen(c.line), c.line), 0) << c.text << " -> " << error;
        // Both outputs stay as they were.
        EXPECT_EQ(range.channel, 7);
        EXPECT_EQ(p.componentCount, 1);
    }
}

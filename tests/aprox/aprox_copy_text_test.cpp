#include "aprox/aprox_copy_text.h"

#include <gtest/gtest.h>

namespace {

SignalParameters list(std::initializer_list<SignalComponent> components) {
    SignalParameters p;
    resetParameters(p);
    for (const SignalComponent& c : components)
        appendComponent(p, c);
    return p;
}

SignalComponent comp(double frequency, double a, double d) {
    SignalComponent c{};
    c.frequency = frequency;
    c.a = a;
    c.d = d;
    return c;
}

} // namespace

TEST(AproxCopyText, FrequencyVectorThenOneComplexAmplitudePerComponent) {
    std::string text = aproxCopyText(list({comp(0.5, 1.25, 0.0), comp(12.34567, -2.0, -0.75)}));
    EXPECT_EQ(text, "FRS1=[0.5000;12.3457]\r\n"
                    "AS11=1.2500+i*0.0000;\r\n"
                    "AS12=-2.0000-i*0.7500;\r\n");
}

TEST(AproxCopyText, EmptyListGivesAnEmptyVector) {
    EXPECT_EQ(aproxCopyText(list({})), "FRS1=[]\r\n");
}

TEST(AproxCopyText, PiecesAreCutToTheirLimits) {
    // "AS11=" + 13 digits and point of 1e7 leaves no room for the end of the
    // line within 29 characters; the frequency item stops at 19.
    std::string text = aproxCopyText(list({comp(123456789012.0, 1e7, 1e7), comp(1.0, 0, 0)}));
    EXPECT_EQ(text.substr(0, 19), "FRS1=[123456789012.");
    EXPECT_EQ(text.substr(19, 10), ";1.0000]\r\n");
    EXPECT_EQ(text.substr(29, 29), "AS11=10000000.0000+i*10000000");
    EXPECT_EQ(text.substr(58), "AS12=0.0000+i*0.0000;\r\n");
}

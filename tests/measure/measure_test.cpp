#include "measure/measure.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

SignalComponent named(const char* name) {
    SignalComponent c{};
    copyField(c.name, sizeof c.name, name);
    return c;
}

SignalParameters listOf(int n) {
    SignalParameters p;
    resetParameters(p);
    for (int i = 0; i < n; ++i) {
        std::string name = "c" + std::to_string(i);
        appendComponent(p, named(name.c_str()));
    }
    return p;
}

struct RecordingClipboard : Clipboard {
    std::string text;
    int calls = 0;
    bool setText(const std::string& t) override {
        text = t;
        ++calls;
        return true;
    }
};

void fillRamp(CMeasure& m, int channels, int rows, double rate) {
    m.channelCount = channels;
    m.sampleCount = rows;
    m.sampleRate = rate;
    m.sampleFormat = SAMPLE_FORMAT_COMPLEX; // both parts are written
    ASSERT_TRUE(m.allocateSamples());
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            m.setSample(c, j, Sample{float(j * 10 + c), float(-j)});
}

} // namespace

TEST(MeasureModel, AllocateKeepsSameSizeAndReleasesOnZero) {
    CMeasure m;
    fillRamp(m, 2, 5, 1.0);
    const void* before = m.blockBytes();
    EXPECT_TRUE(m.allocateSamples());
    EXPECT_EQ(m.blockBytes(), before);
    EXPECT_EQ(m.value(1, 4), 41.0f);
    m.sampleCount = 0;
    EXPECT_TRUE(m.allocateSamples());
    EXPECT_FALSE(m.hasSamples());
    EXPECT_EQ(m.sampleBytes(), 0);
}

TEST(MeasureModel, ChannelInfoCutsUnitAndName) {
    ChannelInfo info{};
    std::string name45(45, 'n');
    setChannelInfo(info, 2.0, -1.0, "metres", name45.c_str());
    EXPECT_STREQ(info.unit, "metres");
    EXPECT_EQ(std::strlen(info.name), 40u);
    setChannelInfo(info, 2.0, -1.0, "abcdefghij", "x");
    EXPECT_STREQ(info.unit, "abcdefg");
    EXPECT_EQ(info.coefficient, 2.0);
    EXPECT_EQ(info.constant, -1.0);
}

TEST(MeasureModel, ResetParametersFillsDefaults) {
    SignalParameters p;
    std::memset(&p, 0x7f, sizeof p);
    resetParameters(p);
    EXPECT_EQ(p.level, 0.0);
    EXPECT_EQ(p.unused[0], 100.0);
    EXPECT_EQ(p.componentCount, 0);
    EXPECT_STREQ(p.components[9].name, "Component no 10");
    EXPECT_EQ(p.components[3].frequency, 10.0);
    EXPECT_EQ(p.components[3].amplitude, 100.0);
    EXPECT_EQ(p.components[3].k, 5.0);
    EXPECT_EQ(p.components[3].eta, 0.0);
}

TEST(MeasureModel, InsertShiftsUpAndIgnoresFullList) {
    SignalParameters p = listOf(4);
    SignalComponent slot5 = p.components[5];
    insertComponent(p, 2, named("new"));
    EXPECT_EQ(p.componentCount, 5);
    EXPECT_STREQ(p.components[2].name, "new");
    EXPECT_STREQ(p.components[3].name, "c2");
    EXPECT_STREQ(p.components[4].name, "c3");
    EXPECT_EQ(std::memcmp(&p.components[5], &slot5, sizeof slot5), 0);

    SignalParameters full = listOf(10);
    SignalParameters copy = full;
    insertComponent(full, 0, named("x"));
    appendComponent(full, named("x"));
    EXPECT_EQ(std::memcmp(&full, &copy, sizeof full), 0);
}

TEST(MeasureModel, RemoveShrinksAndIgnoresOutOfRange) {
    SignalParameters p = listOf(4);
    removeComponent(p, 3);
    EXPECT_EQ(p.componentCount, 3);
    EXPECT_STREQ(p.components[2].name, "c2");
    removeComponent(p, -1);
    removeComponent(p, 3);
    EXPECT_EQ(p.componentCount, 3);
    removeComponent(p, 0);
    EXPECT_STREQ(p.components[0].name, "c1");
    EXPECT_STREQ(p.components[1].name, "c2");
}

TEST(MeasureModel, DateTextHalvesSeconds) {
    CHeader h;
    char buf[64];
    EXPECT_STREQ(h.dateText(buf, sizeof buf), "1980-00-00 at 00:00:00");
    h.date = packDosDate(2015, 2, 17, 14, 30, 9);
    EXPECT_STREQ(h.dateText(buf, sizeof buf), "2015-02-17 at 14:30:08");
    char small[5];
    EXPECT_STREQ(h.dateText(small, sizeof small), "2015");
}

TEST(MeasureModel, HeaderAssignmentCopiesHeaderNotSamples) {
    CMeasure a, b;
    fillRamp(a, 2, 3, 50.0);
    copyField(a.name, sizeof a.name, "gauge run");
    a.signalParameters[1].level = 3.5;
    static_cast<CHeader&>(b) = a;
    EXPECT_STREQ(b.name, "gauge run");
    EXPECT_EQ(b.sampleCount, 3);
    EXPECT_EQ(b.signalParameters[1].level, 3.5);
    EXPECT_FALSE(b.hasSamples());
}

TEST(MeasureModel, CopyBlockRunsDownwardsAndClamps) {
    RecordingClipboard clip;
    setClipboard(&clip);
    CMeasure m;
    fillRamp(m, 3, 20, 2.0);
    m.CopyBlock(1, 10, 5);
    // "%5e" is a minimum width; the precision stays six digits
    EXPECT_EQ(clip.text.substr(0, 43), "4.500000e+00\t9.100000e+01\t-9.000000e+00\r\n4.");
    EXPECT_EQ(clip.text.size(), 5u * 41);
    // 8.0 = row 16 of 2 Hz; clamped "to" stops at the last row 19
    m.CopyBlock(0, 16, 1000);
    EXPECT_EQ(clip.text.substr(0, 12), "8.000000e+00");
    EXPECT_EQ(clip.text.size(), 4u * 41);
    int calls = clip.calls;
    m.CopyBlock(7, 0, 5); // no such channel
    EXPECT_EQ(clip.calls, calls);
    setClipboard(nullptr);
}

TEST(MeasureModel, EraseBlockTouchesOneChannelOnly) {
    CMeasure m;
    fillRamp(m, 2, 10, 1.0);
    m.EraseBlock(1, 8, 3);
    for (int j = 0; j < 10; ++j) {
        bool erased = j >= 3 && j < 8;
        EXPECT_EQ(m.value(1, j) == 0.0f && m.sample(1, j).im == 0.0f, erased) << j;
        EXPECT_EQ(m.value(0, j), float(j * 10));
    }
    m.EraseBlock(-1, 0, 10); // ignored
    m.EraseBlock(5, 0, 10);
    EXPECT_EQ(m.value(0, 5), 50.0f);
}

TEST(MeasureModel, WriteTextWritesRealPartsWithCrLf) {
    CMeasure m;
    fillRamp(m, 2, 2, 4.0);
    std::FILE* f = std::tmpfile();
    ASSERT_TRUE(m.WriteText(f));
    std::rewind(f);
    char buf[256] = {};
    size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, n), "0.000000e+00\t0.000000e+00\t1.000000e+00\r\n"
                                   "2.500000e-01\t1.000000e+01\t1.100000e+01\r\n");
}

TEST(MeasureModel, ClampRows) {
    RowWalk up = clampRows(-5, 3, 10);
    EXPECT_EQ(up.first, 0);
    EXPECT_EQ(up.count, 3);
    RowWalk down = clampRows(100, 90, 95);
    EXPECT_EQ(down.first, 94);
    EXPECT_EQ(down.step, -1);
    EXPECT_EQ(down.count, 5);
    EXPECT_EQ(clampRows(4, 4, 10).count, 0);
}

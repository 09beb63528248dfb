// Writing a calibration into an .INT file's channel description: the reader
// then scales the same counts with it, every other byte stays, and a layout
// that cannot carry the constant is refused untouched.
#include "measure/int_channel_scale.h"

#include <gtest/gtest.h>

#include "measure/int_format.h"
#include "support/temp_dir.h"

namespace {

// A one-channel file of layout `code` (0, 3 or 4) holding the counts
// -100, 0 and 250, coefficient 0.5 and constant 1.
std::vector<unsigned char> countsFile(int8_t code) {
    ByteWriter w;
    w.put(10.0).put(uint8_t(1)).put(code).put(int32_t(3));
    if (code == 0) {
        for (int i = 0; i < 16; ++i)
            w.put(i == 0 ? 0.5 : 0.0);
    } else {
        w.put(uint32_t(0)).put(uint8_t(3)).text("cal", 60);
        w.put(0.5).put(uint8_t(1)).text("m", 7).put(uint8_t(5)).text("gauge", 40).put(1.0);
        w.put(0.0).put(0.0).put(0.0).put(0.0);
    }
    for (int16_t v : {-100, 0, 250})
        w.put(v);
    return w.bytes;
}

} // namespace

TEST(IntChannelScale, ReaderScalesTheSameCountsWithTheNewFields) {
    TempDir dir;
    for (int8_t code : {3, 4}) {
        const std::string path = dir.file("g.INT");
        writeBytes(path, countsFile(code));
        EXPECT_EQ(intSampleLayout(path), code);
        CMeasure before;
        ASSERT_TRUE(readInt(before, path.c_str()));
        EXPECT_FLOAT_EQ(before.at(0, 0).re, -49.0f);
        // Back to the counts through the file's own fields.
        std::vector<double> values{before.at(0, 0).re, before.at(0, 2).re};
        ASSERT_TRUE(intCounts(values, before.channels[0], code, nullptr));
        EXPECT_DOUBLE_EQ(values[0], -100);
        EXPECT_DOUBLE_EQ(values[1], 250);
        std::string why;
        ASSERT_TRUE(writeIntChannelScale(path, 0, 0.002, -0.3, &why)) << why;
        CMeasure after;
        ASSERT_TRUE(readInt(after, path.c_str()));
        EXPECT_FLOAT_EQ(after.at(0, 0).re, float(0.002 * -100 - 0.3)) << int(code);
        EXPECT_FLOAT_EQ(after.at(0, 2).re, float(0.002 * 250 - 0.3)) << int(code);
        EXPECT_STREQ(after.channels[0].name, "gauge");
        EXPECT_EQ(readBytes(path).size(), countsFile(code).size());
        EXPECT_FALSE(writeIntChannelScale(path, 1, 0.002, -0.3, &why));
        EXPECT_EQ(why, path + ": has no channel 1");
    }
}

TEST(IntChannelScale, LayoutWithoutAConstantTakesOnlyACoefficient) {
    TempDir dir;
    const std::string path = dir.file("z.INT");
    writeBytes(path, countsFile(0));
    std::string why;
    EXPECT_FALSE(writeIntChannelScale(path, 0, 0.002, -0.3, &why));
    EXPECT_NE(why.find("applies no constant"), std::string::npos) << why;
    EXPECT_EQ(readBytes(path), countsFile(0));
    ASSERT_TRUE(writeIntChannelScale(path, 0, 0.002, 0.0, &why)) << why;
    CMeasure m;
    ASSERT_TRUE(readInt(m, path.c_str()));
    EXPECT_FLOAT_EQ(m.at(0, 2).re, 0.5f);
    std::vector<double> values{1.0};
    EXPECT_FALSE(intCounts(values, ChannelInfo{}, 4, &why));
}

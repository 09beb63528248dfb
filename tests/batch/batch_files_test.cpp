// ondarix-batch info and convert on files that test the formats' limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_command.h"

namespace {

// An .INT file of layout 5 built byte by byte: `names` are the channels'
// name bytes, every channel has unit "m", the samples are `rows` rows of
// 0.5 * (row + channel).
std::vector<unsigned char> intFile(const std::vector<std::string>& names, int32_t rows,
                                   double rate = 50.0) {
    ByteWriter w;
    w.put(rate).put(uint8_t(names.size())).put(int8_t(5)).put(rows);
    w.put(uint32_t(0)).put(uint8_t(3)).text("run", 60);
    for (const std::string& name : names) {
        w.put(1.0).put(uint8_t(1)).text("m", 7);
        w.put(uint8_t(name.size())).text(name, 40).put(0.0);
        w.put(0.0).put(0.0).put(0.0).put(0.0);
    }
    for (int32_t j = 0; j < rows; ++j)
        for (size_t c = 0; c < names.size(); ++c)
            w.put(float(0.5 * double(j + int32_t(c))));
    return w.bytes;
}

} // namespace

// "Prędkość" is 8 characters; as UTF-8 it takes 11 bytes, so byte padding
// shifted the unit column three places to the left.
TEST(BatchInfo, PadsNamesByCharacters) {
    TempDir dir;
    // ę EA, ś 9C, ć E6 in Windows-1250, as acquisition PCs write them.
    writeBytes(dir.file("pl.INT"), intFile({"Pr\xEA\x64ko\x9C\xE6", "gauge"}, 2));
    CommandResult r = runBatch({"info", dir.file("pl.INT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string gap(32, ' '); // 40 - 8 characters
    EXPECT_NE(r.out.find("\n0        Prędkość" + gap + "  m        "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n1        gauge" + std::string(35, ' ') + "  m        "),
              std::string::npos)
        << r.out;
}

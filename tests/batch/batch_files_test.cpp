// ondarix-batch info and convert on files that test the formats' limits.
#include <gtest/gtest.h>

#include <filesystem>
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

std::vector<std::string> plainNames(int channels) {
    std::vector<std::string> names;
    for (int c = 0; c < channels; ++c)
        names.push_back("gauge " + std::to_string(c + 1));
    return names;
}

int lineCount(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
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

// A file that names no date has none: 0 in the header is no date of 1980.
TEST(BatchInfo, AMeasurementWithoutADateSaysSoInTextAndJson) {
    TempDir dir;
    writeBytes(dir.file("undated.INT"), intFile({"gauge"}, 2));
    CommandResult text = runBatch({"info", dir.file("undated.INT")});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("\ndate:        no date\n"), std::string::npos) << text.out;
    CommandResult json = runBatch({"info", dir.file("undated.INT"), "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("\"date\": null,"), std::string::npos) << json.out;
    // A dated file keeps its date in both.
    CommandResult dated = runBatch({"info", SAMPLE_FILE, "--json"});
    EXPECT_EQ(dated.out.find("\"date\": null"), std::string::npos) << dated.out;
    EXPECT_NE(dated.out.find(" at "), std::string::npos) << dated.out;
}

// A .TXT line carries at most 16 channels: 64 channels x 3 rows at 50 Hz used
// to come back as 16 channels x 6 rows at -1.55 Hz.
TEST(BatchConvert, RefusesATextFileItsReaderCannotReadBack) {
    TempDir dir;
    writeBytes(dir.file("wide.INT"), intFile(plainNames(64), 3));
    CommandResult r = runBatch({"convert", dir.file("wide.INT"), dir.file("wide.TXT")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("at most 16 channels"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("wide.TXT"))); // nothing written
    // 17 channels are one too many; 16 read back whole.
    writeBytes(dir.file("c17.INT"), intFile(plainNames(17), 3));
    EXPECT_EQ(runBatch({"convert", dir.file("c17.INT"), dir.file("c17.TXT")}).exitCode, 1);
    writeBytes(dir.file("c16.INT"), intFile(plainNames(16), 3, 4.0));
    ASSERT_EQ(runBatch({"convert", dir.file("c16.INT"), dir.file("c16.TXT")}).exitCode, 0);
    CommandResult back = runBatch({"info", dir.file("c16.TXT")});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_NE(back.out.find("channels:    16\n"), std::string::npos) << back.out;
    EXPECT_NE(back.out.find("samples:     3\n"), std::string::npos) << back.out;
    // 1 / 0.25: both X values are exact in binary, so the rate comes back whole.
    EXPECT_NE(back.out.find("sample rate: 4\n"), std::string::npos) << back.out;
}

// A measurement of no samples (or no channels) used to give a 0-byte .INT, an
// unreadable .TXT and an .M11 of 0 samples, all with exit 0. A file of no
// channels is now refused by its reader already.
TEST(BatchConvert, RefusesAMeasurementWithoutSamples) {
    TempDir dir;
    writeBytes(dir.file("rowless.INT"), intFile(plainNames(2), 0));
    writeBytes(dir.file("empty.INT"), intFile({}, 0));
    writeBytes(dir.file("one.INT"), intFile(plainNames(2), 1));
    struct Case {
        const char* in;
        const char* out;
        const char* reason;
    } cases[] = {
        {"rowless.INT", "x.INT", "no samples"},     {"rowless.INT", "x.TXT", "no samples"},
        {"rowless.INT", "x.M11", "no samples"},     {"empty.INT", "x.INT", "holds no channel"},
        {"empty.INT", "x.M11", "holds no channel"}, {"one.INT", "x.TXT", "at least 2 rows"},
    };
    for (const Case& c : cases) {
        CommandResult r = runBatch({"convert", dir.file(c.in), dir.file(c.out)});
        EXPECT_EQ(r.exitCode, 1) << c.in << " -> " << c.out;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file(c.out))) << c.out;
    }
    // One row is still a measurement .INT and .M11 carry.
    EXPECT_EQ(runBatch({"convert", dir.file("one.INT"), dir.file("one.M11")}).exitCode, 0);
}

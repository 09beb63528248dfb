#include "measure/int_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

#include "support/temp_dir.h"

namespace {

struct ChannelSpec {
    double coefficient;
    double constant;
    std::string unit;
    std::string name;
};

// The fixed part of an .INT file up to the samples, built byte by byte.
ByteWriter intHeader(double rate, uint8_t channels, int8_t code, int32_t count,
                     const std::vector<ChannelSpec>& specs, const std::string& name = "run 7") {
    ByteWriter w;
    w.put(rate).put(channels).put(code).put(count);
    if (code == 0) {
        for (int i = 0; i < 16; ++i)
            w.put(i < int(specs.size()) ? specs[size_t(i)].coefficient : 0.0);
        return w;
    }
    w.put(uint32_t(0x4A515A1Bu)).put(uint8_t(name.size())).text(name, 60);
    for (const auto& s : specs) {
        w.put(s.coefficient).put(uint8_t(s.unit.size())).text(s.unit, 7);
        w.put(uint8_t(s.name.size())).text(s.name, 40).put(s.constant);
        w.put(1.5).put(2.5).put(3.5).put(4.5);
    }
    return w;
}

std::vector<ChannelSpec> twoChannels() {
    return {{0.5, 1.0, "cm", "gauge 1"}, {2.0, -3.0, "m/s", "flap velocity"}};
}

bool read(const std::string& path, CMeasure& m, std::string* why = nullptr) {
    return readInt(m, path.c_str(), why);
}

} // namespace

TEST(IntFormat, IntegerLayoutsScaleByChannel) {
    TempDir dir;
    // raw -4 with coefficient 0.5 and constant 1: code 3 adds the constant (-1.0),
    // code 2 does not (-2.0); channel 1 has coefficient 2 and constant -3.
    for (int code : {2, 3}) {
        ByteWriter w = intHeader(100.0, 2, int8_t(code), 3, twoChannels());
        for (int16_t v : {-4, 0, 7})
            w.put(v); // channel 0, channel-major
        for (int16_t v : {10, 20, 30})
            w.put(v); // channel 1
        writeBytes(dir.file("a.int"), w.bytes);
        CMeasure m;
        ASSERT_TRUE(read(dir.file("a.int"), m)) << code;
        EXPECT_EQ(m.sampleFormat, 5);
        EXPECT_FLOAT_EQ(m.value(0, 0), code == 3 ? -1.0f : -2.0f);
        EXPECT_FLOAT_EQ(m.value(0, 2), code == 3 ? 4.5f : 3.5f);
        EXPECT_FLOAT_EQ(m.value(1, 1), code == 3 ? 37.0f : 40.0f);
        EXPECT_EQ(m.sample(1, 1).im, 0.0f);
        EXPECT_STREQ(m.channels[0].unit, "cm");
        EXPECT_STREQ(m.channels[1].name, "flap velocity");
        EXPECT_EQ(m.channels[1].reserved[3], 4.5);
        EXPECT_STREQ(m.name, "run 7");
        EXPECT_EQ(m.signalParameters[1].components[0].k, 5.0); // parameters were reset
    }
    // code 4: sample-major int16, scaled with offset
    ByteWriter w = intHeader(100.0, 2, 4, 2, twoChannels());
    for (int16_t v : {-4, 10, 6, 20})
        w.put(v);
    writeBytes(dir.file("b.int"), w.bytes);
    CMeasure m;
    ASSERT_TRUE(read(dir.file("b.int"), m));
    EXPECT_FLOAT_EQ(m.value(0, 0), -1.0f);
    EXPECT_FLOAT_EQ(m.value(1, 0), 17.0f);
    EXPECT_FLOAT_EQ(m.value(0, 1), 4.0f);
    EXPECT_FLOAT_EQ(m.value(1, 1), 37.0f);
}

TEST(IntFormat, CodeZeroAlwaysCarriesSixteenCoefficients) {
    TempDir dir;
    ByteWriter w = intHeader(50.0, 2, 0, 2, {{0.5, 9.0, "", ""}, {4.0, 9.0, "", ""}});
    ASSERT_EQ(w.bytes.size(), 14u + 128u);
    for (int16_t v : {2, 4, 1, 3})
        w.put(v);
    writeBytes(dir.file("z.int"), w.bytes);
    CMeasure m;
    ASSERT_TRUE(read(dir.file("z.int"), m));
    EXPECT_EQ(m.date, 0u);
    EXPECT_STREQ(m.name, "");
    EXPECT_FLOAT_EQ(m.value(0, 1), 2.0f); // 0.5 x 4, no constant
    EXPECT_FLOAT_EQ(m.value(1, 0), 4.0f);
    EXPECT_EQ(m.channels[1].constant, 0.0);
}

TEST(IntFormat, HeaderChecks) {
    TempDir dir;
    struct Case {
        const char* what;
        double rate;
        int channels;
        int code;
        int32_t count;
        bool ok;
    } cases[] = {
        {"highest rate", 330000.0, 1, 5, 1, true},
        {"rate above limit", 330000.5, 1, 5, 1, false},
        {"negative rate", -1.0, 1, 5, 1, false},
        {"count above limit", 100.0, 1, 5, INT_MAX_SAMPLES + 1, false},
        {"negative count", 100.0, 1, 5, -1, false},
        {"layout 8", 100.0, 1, 8, 1, false},
        {"65 channels", 100.0, 65, 5, 0, false},
        {"layout 1 has no samples", 100.0, 1, 1, 1, false},
        {"layout 7 has no samples", 100.0, 1, 7, 1, false},
        {"no samples at all", 100.0, 3, 5, 0, true},
    };
    for (const auto& c : cases) {
        std::vector<ChannelSpec> specs(size_t(c.channels), ChannelSpec{1.0, 0.0, "m", "x"});
        ByteWriter w = intHeader(c.rate, uint8_t(c.channels), int8_t(c.code), c.count, specs);
        if (c.count > 0 && c.count < 100)
            for (int i = 0; i < c.count * c.channels; ++i)
                w.put(float(i));
        writeBytes(dir.file("h.int"), w.bytes);
        CMeasure m;
        std::string why;
        EXPECT_EQ(read(dir.file("h.int"), m, &why), c.ok) << c.what;
        EXPECT_EQ(why.empty(), c.ok) << c.what << ": " << why;
        EXPECT_LE(m.channelCount, MAX_CHANNELS);
        EXPECT_GE(m.sampleCount, 0);
        if (!c.ok) {
            EXPECT_FALSE(m.hasSamples()) << c.what;
        }
        EXPECT_EQ(std::string(m.path), dir.file("h.int"));
    }
}

TEST(IntFormat, IntegerLayoutsAreFloatsInMemoryEvenWithoutSamples) {
    TempDir dir;
    std::vector<ChannelSpec> specs(2, ChannelSpec{1.0, 0.0, "m", "x"});
    for (int32_t count : {0, 50}) { // no rows; rows the file does not hold
        writeBytes(dir.file("i.int"), intHeader(100.0, 2, 2, count, specs).bytes);
        CMeasure m;
        read(dir.file("i.int"), m);
        EXPECT_EQ(m.sampleFormat, SAMPLE_FORMAT_REAL) << count;
    }
}

TEST(IntFormat, LongNamesAndUnitsAreRejected) {
    TempDir dir;
    ByteWriter w = intHeader(100.0, 1, 5, 0, {{1.0, 0.0, "m", "x"}});
    w.bytes[18] = 61; // name length
    writeBytes(dir.file("n.int"), w.bytes);
    CMeasure m;
    std::string why;
    EXPECT_FALSE(read(dir.file("n.int"), m, &why));
    EXPECT_NE(why.find("name length"), std::string::npos);
    w.bytes[18] = 5;
    w.bytes[79 + 8] = 8; // unit length of channel 0
    writeBytes(dir.file("n.int"), w.bytes);
    CMeasure m2;
    EXPECT_FALSE(read(dir.file("n.int"), m2, &why));
    EXPECT_NE(why.find("unit length"), std::string::npos);
}

TEST(IntFormat, HugeDeclaredBlockInTinyFileIsRefusedBeforeAllocation) {
    TempDir dir;
    std::vector<ChannelSpec> specs(64, ChannelSpec{1.0, 0.0, "m", "x"});
    ByteWriter w = intHeader(100.0, 64, 6, INT_MAX_SAMPLES, specs);
    writeBytes(dir.file("big.int"), w.bytes);
    CMeasure m;
    std::string why;
    EXPECT_FALSE(read(dir.file("big.int"), m, &why));
    EXPECT_FALSE(m.hasSamples());
    EXPECT_NE(why.find("holds"), std::string::npos) << why;
}

// Every layout with samples, 4 rows of 2 channels.
struct LayoutFile {
    int code;
    ByteWriter file;
    size_t header; // bytes before the samples
};

LayoutFile layoutFile(int code) {
    LayoutFile f{code, intHeader(100.0, 2, int8_t(code), 4, twoChannels()), 0};
    f.header = f.file.bytes.size();
    for (int k = 0; k < 8; ++k) {
        // Channel after channel for codes 0, 2, 3, row after row for the others.
        const int16_t raw = int16_t(k * 3 - 7);
        if (code <= 4)
            f.file.put(raw);
        else if (code == 5)
            f.file.put(float(raw) + 0.25f);
        else
            f.file.put(float(raw)).put(-float(raw));
    }
    return f;
}

// Rows whose every value is in the first `bytes` bytes of the samples.
int64_t completeRowsIn(int code, size_t bytes) {
    const int64_t width = code <= 4 ? 2 : code == 5 ? 4 : 8;
    const int64_t values = int64_t(bytes) / width;
    return code <= 3 ? std::max<int64_t>(0, values - 4) : values / 2;
}

// A file cut anywhere is refused by default, naming the complete rows where
// there are any; a partial read keeps exactly those rows, as the full file
// holds them, and the header read agrees on every cut.
TEST(IntFormat, EveryTruncationIsRefusedOrReadUpToItsLastCompleteRow) {
    TempDir dir;
    const std::string path = dir.file("t.int");
    for (int code : {0, 2, 3, 4, 5, 6}) {
        const LayoutFile f = layoutFile(code);
        const auto& full = f.file.bytes;
        writeBytes(path, full);
        CMeasure whole;
        ASSERT_TRUE(read(path, whole)) << code;
        for (size_t len = 0; len < full.size(); ++len) {
            SCOPED_TRACE(testing::Message() << "code " << code << ", " << len << " bytes");
            writeBytes(path, std::vector<unsigned char>(full.begin(), full.begin() + long(len)));
            const int64_t rows = len < f.header ? 0 : completeRowsIn(code, len - f.header);
            CMeasure refused, header;
            std::string why;
            EXPECT_FALSE(read(path, refused, &why));
            EXPECT_TRUE(!refused.hasSamples() ||
                        refused.sampleBytes() == samplesBytes(refused.sampleCount,
                                                              refused.channelCount,
                                                              refused.sampleFormat));
            EXPECT_EQ(why.find(" rows are complete") != std::string::npos, rows > 0) << why;
            if (rows > 0) {
                EXPECT_NE(why.find("first " + std::to_string(rows) + " of 4 rows"),
                          std::string::npos)
                    << why;
            }
            EXPECT_FALSE(readIntHeader(header, path.c_str()));

            CMeasure m, partialHeader;
            ReadReport report, headerReport;
            const ReadOptions partial{true};
            EXPECT_EQ(readInt(m, path.c_str(), &why, nullptr, partial, &report), rows > 0) << why;
            EXPECT_EQ(readIntHeader(partialHeader, path.c_str(), &why, partial, &headerReport),
                      rows > 0)
                << why;
            EXPECT_EQ(report.partialAvailable, rows > 0);
            if (rows == 0) continue;
            EXPECT_EQ(report.rowsRead, rows);
            EXPECT_EQ(report.rowsExpected, 4);
            EXPECT_EQ(headerReport.rowsRead, rows);
            ASSERT_EQ(m.sampleCount, rows);
            EXPECT_EQ(partialHeader.sampleCount, rows);
            EXPECT_EQ(m.sampleBytes(), samplesBytes(rows, 2, m.sampleFormat));
            for (int32_t j = 0; j < rows; ++j)
                for (int c = 0; c < 2; ++c) {
                    EXPECT_EQ(m.value(c, j), whole.value(c, j)) << j << " " << c;
                    EXPECT_EQ(m.sample(c, j).im, whole.sample(c, j).im) << j << " " << c;
                }
        }
    }
}

// Data after the declared samples are not read, and counted.
TEST(IntFormat, BytesAfterTheDeclaredSamplesAreReported) {
    TempDir dir;
    const std::string path = dir.file("long.int");
    for (int code : {2, 5}) {
        LayoutFile f = layoutFile(code);
        writeBytes(path, f.file.bytes);
        CMeasure exact;
        ReadReport report;
        ASSERT_TRUE(readInt(exact, path.c_str(), nullptr, nullptr, {}, &report));
        EXPECT_EQ(report.bytesIgnored, 0);
        for (int k = 0; k < 1234; ++k)
            f.file.put(uint8_t(k));
        writeBytes(path, f.file.bytes);
        CMeasure m, header;
        ReadReport headerReport;
        ASSERT_TRUE(readInt(m, path.c_str(), nullptr, nullptr, {}, &report)) << code;
        ASSERT_TRUE(readIntHeader(header, path.c_str(), nullptr, {}, &headerReport)) << code;
        EXPECT_EQ(report.bytesIgnored, 1234);
        EXPECT_EQ(headerReport.bytesIgnored, 1234);
        ASSERT_EQ(m.sampleCount, 4);
        EXPECT_EQ(m.value(1, 3), exact.value(1, 3));
    }
}

// Zeros, or a program renamed .INT, pass the header's range checks but
// describe no channel: that is no measurement.
TEST(IntFormat, AFileWithoutChannelsIsRefused) {
    TempDir dir;
    const std::string path = dir.file("zeros.int");
    std::vector<unsigned char> zeros(20 * 1024, 0);
    ByteWriter program;
    program.put(uint32_t(0x464C457Fu)).put(uint32_t(0x00010102u)).put(uint64_t(0));
    for (int k = 0; k < 4000; ++k)
        program.put(uint8_t(k * 7));
    ByteWriter declared = intHeader(100.0, 0, 5, 10, {});
    for (const auto& bytes : {zeros, program.bytes, declared.bytes}) {
        writeBytes(path, bytes);
        CMeasure m, header;
        std::string why, headerWhy;
        EXPECT_FALSE(read(path, m, &why));
        EXPECT_FALSE(readIntHeader(header, path.c_str(), &headerWhy));
        EXPECT_EQ(why, "the file holds no channel");
        EXPECT_EQ(headerWhy, why);
        EXPECT_FALSE(m.hasSamples());
    }
}

TEST(IntFormat, CorruptedBytesNeverCrash) {
    TempDir dir;
    ByteWriter w = intHeader(100.0, 2, 4, 3, twoChannels());
    for (int i = 0; i < 6; ++i)
        w.put(int16_t(i * 100));
    uint32_t seed = 12345;
    for (int round = 0; round < 400; ++round) {
        std::vector<unsigned char> bytes = w.bytes;
        for (int k = 0; k < 3; ++k) {
            seed = seed * 1664525u + 1013904223u;
            bytes[(seed >> 8) % bytes.size()] = uint8_t(seed >> 24);
        }
        writeBytes(dir.file("c.int"), bytes);
        CMeasure m;
        bool ok = read(dir.file("c.int"), m);
        EXPECT_LE(m.channelCount, MAX_CHANNELS);
        if (ok && m.hasSamples()) {
            EXPECT_EQ(m.sampleBytes(), samplesBytes(m.sampleCount, m.channelCount, m.sampleFormat));
        }
    }
}

TEST(IntFormat, MissingFileFailsButKeepsPath) {
    CMeasure m;
    std::string why;
    EXPECT_FALSE(readInt(m, "/nonexistent/dir/x.int", &why));
    EXPECT_STREQ(m.path, "/nonexistent/dir/x.int");
    EXPECT_EQ(m.channelCount, 0);
}

TEST(IntFormat, RoundTripOfLayoutFourGoesThroughLayoutFive) {
    TempDir dir;
    ByteWriter w = intHeader(250.0, 2, 4, 3, twoChannels());
    for (int16_t v : {-4, 10, 6, 20, 32767, -32768})
        w.put(v);
    writeBytes(dir.file("in.int"), w.bytes);
    CMeasure a;
    ASSERT_TRUE(read(dir.file("in.int"), a));
    ASSERT_TRUE(writeInt(a, dir.file("out.int").c_str()));
    EXPECT_EQ(std::string(a.path), dir.file("out.int"));
    auto bytes = readBytes(dir.file("out.int"));
    EXPECT_EQ(bytes[9], 5);                           // layout 5 on disk
    EXPECT_EQ(bytes.size(), 79u + 2 * 97u + 6u * 4u); // header, records, floats
    CMeasure b;
    ASSERT_TRUE(read(dir.file("out.int"), b));
    for (int j = 0; j < 3; ++j)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(b.value(c, j), a.value(c, j));
    EXPECT_EQ(b.date, a.date);
    EXPECT_STREQ(b.channels[0].unit, "cm");
    EXPECT_EQ(b.channels[1].reserved[0], 1.5);
    EXPECT_EQ(b.sampleRate, 250.0);
}

TEST(IntFormat, ComplexMeasurementKeepsImaginaryParts) {
    TempDir dir;
    CMeasure a;
    a.channelCount = 1;
    a.sampleCount = 2;
    a.sampleRate = 8.0;
    a.sampleFormat = SAMPLE_FORMAT_COMPLEX;
    ASSERT_TRUE(a.allocateSamples());
    a.setSample(0, 0, {1.0f, -2.0f});
    a.setSample(0, 1, {3.0f, 4.5f});
    ASSERT_TRUE(writeInt(a, dir.file("c.int").c_str()));
    CMeasure b;
    ASSERT_TRUE(read(dir.file("c.int"), b));
    EXPECT_EQ(b.sampleFormat, 6);
    EXPECT_EQ(b.sample(0, 1).im, 4.5f);
    EXPECT_EQ(b.sample(0, 0).im, -2.0f);
}

// A 0-byte file used to pass for a saved measurement.
TEST(IntFormat, MeasurementsWithoutChannelsOrSamplesAreNotWritten) {
    TempDir dir;
    CMeasure none;
    EXPECT_STREQ(intFormatRefusal(none), "the measurement has no channels");
    EXPECT_FALSE(writeInt(none, dir.file("e.int").c_str()));
    CMeasure rowless;
    rowless.channelCount = 2;
    rowless.sampleRate = 50.0;
    EXPECT_STREQ(intFormatRefusal(rowless), "the measurement has no samples");
    EXPECT_FALSE(writeInt(rowless, dir.file("e.int").c_str()));
    EXPECT_FALSE(std::filesystem::exists(dir.file("e.int")));
}

TEST(IntFormat, MeasurementsTheFormatCannotCarryAreNotWritten) {
    TempDir dir;
    CMeasure a;
    a.channelCount = 1;
    a.sampleCount = INT_MAX_SAMPLES + 1; // a long spectrum of a .WAV file, say
    a.sampleRate = 100.0;
    ASSERT_TRUE(a.allocateSamples());
    EXPECT_FALSE(writeInt(a, dir.file("long.int").c_str()));
    EXPECT_TRUE(readBytes(dir.file("long.int")).empty());
    a.sampleCount = 10;
    a.sampleRate = 44100.0 * 8; // above the format's limit
    EXPECT_FALSE(writeInt(a, dir.file("fast.int").c_str()));
}

// Records of several read pieces are read by two threads: every value lands
// in its own sample and channel across the pieces' borders, and a file cut in
// a later piece is refused before its samples are read.
TEST(IntFormat, RowsSplitBetweenPiecesLandInTheirOwnChannels) {
    // Three and seven channels: the reading threads' pieces and the spreading
    // steps start and end inside rows, and whole rows go in blocks.
    TempDir dir;
    const int32_t rows = 200003;
    for (int channels : {3, 7}) {
        std::vector<ChannelSpec> specs(size_t(channels), ChannelSpec{1.0, 0.0, "m", "gauge"});
        ByteWriter w = intHeader(50.0, channels, 5, rows, specs);
        for (int32_t j = 0; j < rows; ++j)
            for (int c = 0; c < channels; ++c)
                w.put(float(j) + 0.25f * float(c));
        writeBytes(dir.file("wide.int"), w.bytes);
        CMeasure m;
        ASSERT_TRUE(read(dir.file("wide.int"), m)) << channels;
        int wrong = 0;
        for (int32_t j = 0; j < rows; ++j)
            for (int c = 0; c < channels; ++c)
                wrong += m.value(c, j) != float(j) + 0.25f * float(c);
        EXPECT_EQ(wrong, 0) << channels;
    }
}

TEST(IntFormat, LargeSampleMajorRecordsKeepEveryValueAndStopAtACut) {
    TempDir dir;
    const int32_t rows = 300001; // 600,002 values: more pieces than one thread reads
    for (int code : {4, 5}) {
        ByteWriter w = intHeader(50.0, 2, int8_t(code), rows, twoChannels());
        for (int32_t j = 0; j < rows; ++j) {
            for (int c = 0; c < 2; ++c) {
                int16_t raw = int16_t((j * 7 + c * 3) % 20000 - 10000);
                if (code == 4)
                    w.put(raw);
                else
                    w.put(float(raw));
            }
        }
        writeBytes(dir.file("big.int"), w.bytes);
        CMeasure m;
        ASSERT_TRUE(read(dir.file("big.int"), m)) << code;
        const std::vector<ChannelSpec> specs = twoChannels();
        for (int32_t j : {0, 131071, 131072, 262144, 300000}) {
            for (int c = 0; c < 2; ++c) {
                double raw = double((j * 7 + c * 3) % 20000 - 10000);
                // Code 4 scales with the channel's coefficient and adds its constant.
                double expected =
                    code == 4 ? specs[size_t(c)].coefficient * raw + specs[size_t(c)].constant
                              : raw;
                EXPECT_FLOAT_EQ(m.value(c, j), float(expected)) << code << " " << j << " " << c;
                EXPECT_EQ(m.sample(c, j).im, 0.0f);
            }
        }

        // Cut inside the third piece.
        const size_t width = code == 4 ? 2 : 4;
        const size_t header = w.bytes.size() - size_t(rows) * 2 * width;
        const int64_t cut = 2 * 262144 + 1001; // a value index
        std::vector<unsigned char> truncated(w.bytes.begin(),
                                             w.bytes.begin() + long(header + size_t(cut) * width));
        writeBytes(dir.file("cut.int"), truncated);
        CMeasure t;
        std::string why;
        EXPECT_FALSE(read(dir.file("cut.int"), t, &why)) << code;
        EXPECT_NE(why.find("header declares"), std::string::npos) << why;
        // The threads of a partial read stop at the last complete row.
        CMeasure p;
        ReadReport report;
        ASSERT_TRUE(
            readInt(p, dir.file("cut.int").c_str(), &why, nullptr, ReadOptions{true}, &report))
            << why;
        ASSERT_EQ(p.sampleCount, cut / 2);
        EXPECT_EQ(report.rowsExpected, rows);
        for (int32_t j : {0, 131072, 262144, p.sampleCount - 1})
            for (int c = 0; c < 2; ++c)
                EXPECT_EQ(p.value(c, j), m.value(c, j)) << code << " " << j << " " << c;
    }
}

// The extremes the view scales its plots by, gathered by the reading threads
// piece by piece, are those of a pass over the samples read.
TEST(IntFormat, ExtremesGatheredByTheReadingThreadsAreThoseOfTheSamples) {
    TempDir dir;
    const int32_t rows = 300001; // several pieces, so both threads read
    const std::vector<ChannelSpec> specs = {
        {0.5, 1.0, "cm", "gauge 1"}, {-2.0, -3.0, "m/s", "flap"}, {1.0, 0.0, "m", "gauge 2"}};
    for (int code : {4, 5}) {
        ByteWriter w = intHeader(100.0, 3, int8_t(code), rows, specs);
        for (int32_t j = 0; j < rows; ++j) {
            for (int c = 0; c < 3; ++c) {
                int v = int((int64_t(j) * 7919 + c * 131) % 20001) - 10000;
                if (code == 4)
                    w.put(int16_t(c == 2 ? std::abs(v) : v));
                else
                    w.put(j == 123457 && c == 1 ? -std::numeric_limits<float>::infinity()
                                                : float(v) / 7.0f);
            }
        }
        writeBytes(dir.file("x.int"), w.bytes);
        CMeasure m;
        ChannelExtremes seen;
        ASSERT_TRUE(readInt(m, dir.file("x.int").c_str(), nullptr, &seen)) << code;
        ASSERT_EQ(seen.channels(), 3);
        ChannelRange gathered[MAX_CHANNELS], scanned[MAX_CHANNELS];
        channelRanges(m, rows, &seen, gathered);
        m.sampleFormat = SAMPLE_FORMAT_COMPLEX; // forces the pass with the modulus
        channelRanges(m, rows, nullptr, scanned);
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE(testing::Message() << "code " << code << ", channel " << c);
            EXPECT_EQ(gathered[c].low, scanned[c].low);
            EXPECT_EQ(gathered[c].high, scanned[c].high);
            EXPECT_EQ(gathered[c].modulus, scanned[c].modulus);
        }
        if (code == 5) {
            EXPECT_EQ(gathered[1].low, -std::numeric_limits<float>::infinity());
        }
    }
    // A reader that gathers nothing leaves no extremes to be taken for the samples'.
    CMeasure m;
    ChannelExtremes seen(3);
    EXPECT_FALSE(readInt(m, dir.file("missing.int").c_str(), nullptr, &seen));
    EXPECT_EQ(seen.channels(), 0);
}

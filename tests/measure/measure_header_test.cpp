// The header readers: what the full readers give, without the samples.
#include "measure/int_format.h"
#include "measure/measure_file.h"

#include "file_test_support.h"

#include <algorithm>
#include <cstring>

namespace {

// Two channels of 100 rows at 25 Hz, named, with a ramp and a square wave.
void describe(CMeasure& m) {
    m.channelCount = 2;
    m.sampleCount = 100;
    m.sampleRate = 25.0;
    m.date = 1764000000u;
    std::strcpy(m.name, "Header test");
    setChannelInfo(m.channels[0], 1.0, 0.0, "m", "Flap");
    setChannelInfo(m.channels[1], 1.0, 0.0, "cm", "Gauge 1");
    EXPECT_TRUE(m.allocateSamples());
    for (int j = 0; j < 100; ++j) {
        m.setSample(0, j, Sample{float(j) / 10, 0.0f});
        m.setSample(1, j, Sample{j % 10 < 5 ? 1.0f : -1.0f, 0.0f});
    }
}

void expectSameDescription(const CMeasure& header, const CMeasure& full) {
    EXPECT_FALSE(header.hasSamples());
    EXPECT_EQ(header.sampleBytes(), 0);
    EXPECT_EQ(header.channelCount, full.channelCount);
    EXPECT_EQ(header.sampleCount, full.sampleCount);
    EXPECT_EQ(header.sampleRate, full.sampleRate);
    EXPECT_EQ(header.sampleFormat, full.sampleFormat);
    EXPECT_EQ(header.date, full.date);
    EXPECT_STREQ(header.name, full.name);
    EXPECT_STREQ(header.path, full.path);
    for (int c = 0; c < full.channelCount; ++c) {
        EXPECT_STREQ(header.channels[c].name, full.channels[c].name) << c;
        EXPECT_STREQ(header.channels[c].unit, full.channels[c].unit) << c;
        EXPECT_EQ(header.channels[c].coefficient, full.channels[c].coefficient) << c;
        EXPECT_EQ(header.channels[c].constant, full.channels[c].constant) << c;
    }
}

// 16-bit stereo PCM, `frames` rows at 8000 Hz, and `extra` bytes after them.
Bytes stereoWave(uint32_t frames, int extra) {
    Bytes b;
    append(b, "RIFF");
    append(b, 4 + 24 + 8 + frames * 4 + uint32_t(extra), 4);
    append(b, "WAVEfmt ");
    append(b, 16, 4);
    append(b, 1, 2);
    append(b, 2, 2);
    append(b, 8000, 4);
    append(b, 32000, 4);
    append(b, 4, 2);
    append(b, 16, 2);
    append(b, "data");
    append(b, frames * 4 + uint32_t(extra), 4);
    for (uint32_t i = 0; i < 2 * frames + uint32_t(extra) / 2; ++i)
        append(b, uint16_t(i * 7), 2);
    return b;
}

} // namespace

TEST(MeasureHeader, EveryFormatGivesTheFullReadersDescriptionWithoutSamples) {
    for (FileType type : {FileType::Int, FileType::Text, FileType::M11}) {
        SCOPED_TRACE(fileTypeName(type));
        TempDir dir;
        std::string path = dir.file(std::string("m.") + fileTypeName(type));
        CMeasure source;
        describe(source);
        std::string why;
        ASSERT_TRUE(writeMeasure(source, path, type, &why)) << why;
        CMeasure full, header;
        ASSERT_TRUE(readMeasure(full, path, type, &why)) << why;
        ASSERT_TRUE(readMeasureHeader(header, path, type, &why)) << why;
        expectSameDescription(header, full);
    }
    // A 16-bit sample after the last whole row does not count as a row.
    ScratchFile wav(".WAV");
    wav.write(stereoWave(37, 2));
    CMeasure full, header;
    std::string why;
    ASSERT_TRUE(readMeasure(full, wav.path(), FileType::Wave, &why)) << why;
    ASSERT_TRUE(readMeasureHeader(header, wav.path(), FileType::Wave, &why)) << why;
    EXPECT_EQ(header.sampleCount, 37);
    expectSameDescription(header, full);
}

TEST(MeasureHeader, FilesShortOfTheirDeclaredSamplesAreRefusedAsByTheFullReader) {
    TempDir dir;
    std::string path = dir.file("cut.INT");
    CMeasure source;
    describe(source);
    ASSERT_TRUE(writeInt(source, path.c_str()));
    Bytes bytes = readBytes(path);
    writeBytes(path, Bytes(bytes.begin(), bytes.end() - 4)); // one float short
    CMeasure header;
    std::string why;
    EXPECT_FALSE(readIntHeader(header, path.c_str(), &why));
    EXPECT_NE(why.find("header declares 800 bytes of samples but the file holds 796"),
              std::string::npos)
        << why;
    EXPECT_FALSE(header.hasSamples());
    // A WAVE file with its format but no data chunk.
    ScratchFile wav(".WAV");
    Bytes noData = stereoWave(3, 0);
    noData.resize(36);
    wav.write(noData);
    CMeasure w;
    EXPECT_FALSE(readMeasureHeader(w, wav.path(), FileType::Wave, &why));
    EXPECT_EQ(why, "the file has no data chunk");
}

// Cut off during the acquisition: each format refuses the file by default,
// naming its complete rows, and a partial read keeps them, the header read
// agreeing with the full one either way.
TEST(MeasureHeader, CutFilesAreReadUpToTheirLastCompleteRowOnlyOnRequest) {
    struct Cut {
        FileType type;
        int rows; // complete rows left by the cut
    };
    for (Cut cut : {Cut{FileType::Int, 99}, Cut{FileType::Text, 99}, Cut{FileType::M11, 75}}) {
        SCOPED_TRACE(fileTypeName(cut.type));
        TempDir dir;
        std::string path = dir.file(std::string("m.") + fileTypeName(cut.type));
        CMeasure source;
        describe(source);
        std::string why;
        ASSERT_TRUE(writeMeasure(source, path, cut.type, &why)) << why;
        Bytes bytes = readBytes(path);
        if (cut.type == FileType::Int) {
            bytes.resize(bytes.size() - 6); // inside the last row
        } else if (cut.type == FileType::Text) {
            // The last line ends after its X value.
            size_t lastLine = std::string(bytes.begin(), bytes.end() - 1).rfind('\n') + 1;
            bytes.resize(std::find(bytes.begin() + long(lastLine), bytes.end(), '\t') -
                         bytes.begin());
        } else {
            bytes.resize(bytes.size() - 2 * 122 + 10); // inside the sixth data record
        }
        writeBytes(path, bytes);
        for (bool partial : {false, true}) {
            SCOPED_TRACE(partial ? "partial" : "whole");
            CMeasure full, header;
            ReadReport fullReport, headerReport;
            std::string fullWhy, headerWhy;
            const ReadOptions options{partial};
            bool fullOk =
                readMeasure(full, path, cut.type, &fullWhy, nullptr, options, &fullReport);
            bool headerOk =
                readMeasureHeader(header, path, cut.type, &headerWhy, options, &headerReport);
            EXPECT_EQ(fullOk, partial) << fullWhy;
            EXPECT_EQ(headerOk, partial) << headerWhy;
            for (const ReadReport& report : {fullReport, headerReport}) {
                EXPECT_TRUE(report.partialAvailable);
                EXPECT_EQ(report.rowsRead, cut.rows);
                EXPECT_EQ(report.rowsExpected, 100);
            }
            if (!partial) {
                const std::string complete =
                    "first " + std::to_string(cut.rows) + " of 100 rows are complete";
                EXPECT_NE(fullWhy.find(complete), std::string::npos) << fullWhy;
                EXPECT_NE(headerWhy.find(complete), std::string::npos) << headerWhy;
                continue;
            }
            EXPECT_TRUE(fullWhy.empty()) << fullWhy;
            ASSERT_EQ(full.sampleCount, cut.rows);
            EXPECT_EQ(header.sampleCount, cut.rows);
            EXPECT_EQ(full.value(0, cut.rows - 1), source.value(0, cut.rows - 1));
            EXPECT_EQ(partialReadText("m", fullReport),
                      "m: read " + std::to_string(cut.rows) +
                          " of 100 rows; the rest of the file is damaged");
        }
    }
}

// Zeros, or a WAVE file declaring no channels: no reader makes a measurement
// of nothing, and each says why.
TEST(MeasureHeader, EveryReaderRefusesAFileWithoutChannels) {
    Bytes noChannels = stereoWave(4, 0);
    noChannels[22] = 0; // the format chunk's channel count
    struct Case {
        FileType type;
        Bytes bytes;
        const char* reason;
    };
    const Case cases[] = {
        {FileType::Int, Bytes(20 * 1024, 0), "the file holds no channel"},
        {FileType::Wave, noChannels, "the file declares no channels"},
        {FileType::Text, Bytes{'0', '\n', '1', '\n'}, "line 1 holds fewer than two numbers"},
        {FileType::M11, Bytes(20 * 1024, 0), "record 1 is missing or not of type 2 (check 1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fileTypeName(c.type));
        ScratchFile file(".bin");
        file.write(c.bytes);
        CMeasure full, header;
        std::string fullWhy, headerWhy;
        EXPECT_FALSE(readMeasure(full, file.path(), c.type, &fullWhy));
        EXPECT_FALSE(readMeasureHeader(header, file.path(), c.type, &headerWhy));
        EXPECT_EQ(fullWhy, c.reason);
        EXPECT_EQ(headerWhy, c.reason);
        EXPECT_FALSE(full.hasSamples());
    }
}

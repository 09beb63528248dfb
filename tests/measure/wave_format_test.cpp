#include "measure/wave_format.h"

#include "file_test_support.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

Bytes chunk(const char* id, const Bytes& data, uint32_t declared) {
    Bytes b;
    append(b, id);
    append(b, declared, 4);
    append(b, data);
    if (data.size() % 2) b.push_back(0);
    return b;
}
Bytes chunk(const char* id, const Bytes& data) {
    return chunk(id, data, uint32_t(data.size()));
}

Bytes fmt(uint16_t tag, uint16_t channels, uint16_t bits, uint32_t rate = 8000) {
    Bytes b;
    uint16_t align = uint16_t(channels * ((bits + 7) / 8));
    append(b, tag, 2);
    append(b, channels, 2);
    append(b, rate, 4);
    append(b, uint64_t(rate) * align, 4);
    append(b, align, 2);
    append(b, bits, 2);
    return b;
}

// WAVE_FORMAT_EXTENSIBLE with the given sub-format's first GUID field (1 PCM, 3 float).
Bytes extensible(uint16_t channels, uint16_t bits, uint32_t subformat) {
    Bytes b = fmt(0xFFFE, channels, bits);
    append(b, 22, 2);   // extension size
    append(b, bits, 2); // valid bits
    append(b, 3, 4);    // channel mask
    append(b, subformat, 4);
    const Bytes guidTail = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    append(b, guidTail);
    return b;
}

Bytes wave(const Bytes& format, const Bytes& data, const Bytes& extra = {}) {
    Bytes body;
    append(body, "WAVE");
    append(body, extra);
    append(body, chunk("fmt ", format));
    append(body, chunk("data", data));
    return chunk("RIFF", body);
}

bool read(const Bytes& file, CMeasure& m, std::string* error = nullptr,
          const ReadOptions& options = {}, ReadReport* report = nullptr) {
    ScratchFile scratch(".WAV");
    scratch.write(file);
    return readWave(m, scratch.path(), error, options, report);
}

// Little-endian IEEE float samples of 4 or 8 bytes.
Bytes floats(const std::vector<double>& values, int bytes) {
    Bytes b;
    for (double v : values) {
        uint64_t bits;
        if (bytes == 4) {
            float narrow = float(v);
            uint32_t word;
            std::memcpy(&word, &narrow, 4);
            bits = word;
        } else {
            std::memcpy(&bits, &v, 8);
        }
        append(b, bits, bytes);
    }
    return b;
}

} // namespace

TEST(WaveFormat, TwoChannelsOfSixteenBitsIgnoreTrailingBytes) {
    Bytes data;
    for (int v : {1, -2, 300, -32768, 7})
        append(data, uint16_t(v), 2); // 10 bytes
    CMeasure m;
    ASSERT_TRUE(read(wave(fmt(1, 2, 16, 22050), data), m));
    expectConsistent(m);
    EXPECT_EQ(m.channelCount, 2);
    EXPECT_EQ(m.sampleCount, 2); // 10 / (2 x 2), the last value has no partner
    EXPECT_EQ(m.sampleRate, 22050.0);
    const float expected[2][2] = {{1, -2}, {300, -32768}};
    for (int j = 0; j < 2; ++j)
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(m.value(c, j), expected[j][c]);
            EXPECT_EQ(m.sample(c, j).im, 0.0f);
        }
    EXPECT_STREQ(m.name, "Pomiar");
    EXPECT_STREQ(m.channels[1].name, "Channel 2");
    EXPECT_STREQ(m.channels[1].unit, "?");
    EXPECT_EQ(m.channels[1].coefficient, 1.0);
    EXPECT_EQ(m.signalParameters[1].unused[0], 100.0);
    EXPECT_EQ(m.sampleFormat, SAMPLE_FORMAT_REAL);
    EXPECT_EQ(m.date, 0u);
    EXPECT_STREQ(m.path, ""); // this reader leaves the path alone
}

TEST(WaveFormat, EachBitDepthReadsItsIntegerValues) {
    struct Case {
        uint16_t bits;
        Bytes data;
        std::vector<float> values;
    } cases[] = {
        {8, {0x00, 0x80, 0xFF, 0x81}, {-128, 0, 127, 1}}, // unsigned, centred on 128
        {16, {0x00, 0x80, 0xFF, 0x7F}, {-32768, 32767}},
        {24, {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF}, {-8388608, 8388607, -1}},
        {32, {0, 0, 0, 0x80, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, {-2147483648.0f, 1, -1}},
        {12, {0x10, 0x00, 0xF0, 0xFF}, {16, -16}}, // 12 significant bits in 2 bytes
    };
    for (const Case& c : cases) {
        for (const Bytes& format : {fmt(1, 1, c.bits), extensible(1, c.bits, 1)}) {
            CMeasure m;
            std::string error;
            ASSERT_TRUE(read(wave(format, c.data), m, &error)) << c.bits << " " << error;
            ASSERT_EQ(m.sampleCount, int(c.values.size())) << c.bits;
            for (size_t j = 0; j < c.values.size(); ++j)
                EXPECT_EQ(m.value(0, int(j)), c.values[j]) << c.bits << " bits, sample " << j;
        }
    }
}

TEST(WaveFormat, UnreadableFormatsAreRefusedWithAReason) {
    Bytes data(8, 0);
    Bytes noFormat = chunk("RIFF", Bytes{'W', 'A', 'V', 'E'});
    append(noFormat, chunk("data", data));
    Bytes notWave = wave(fmt(1, 1, 16), data);
    notWave[8] = 'X';
    struct Case {
        Bytes file;
        const char* reason;
    } cases[] = {
        {wave(fmt(6, 1, 8), data), "format tag 6 is neither integer PCM nor IEEE float"},
        {wave(extensible(1, 32, 6), data),
         "the extensible sub-format is neither integer PCM nor IEEE float"},
        {wave(fmt(0xFFFE, 1, 16), data), "the extensible format chunk is too short"},
        {wave(fmt(1, 0, 16), data), "the file declares no channels"},
        {wave(fmt(1, 65, 16), data), "65 channels, at most 64 can be read"},
        {wave(fmt(1, 1, 40), data), "40-bit samples cannot be read"},
        {wave(fmt(1, 1, 0), data), "0-bit samples cannot be read"},
        {wave(Bytes(14, 1), data), "the format chunk is too short"},
        {noFormat, "the file has no format chunk"},
        {notWave, "the file is not a RIFF WAVE file"},
    };
    for (const Case& c : cases) {
        CMeasure m;
        std::string error;
        EXPECT_FALSE(read(c.file, m, &error));
        EXPECT_EQ(error, c.reason);
        expectConsistent(m);
        EXPECT_EQ(m.channelCount, 0) << c.reason;
    }
    CMeasure missing;
    std::string error;
    EXPECT_FALSE(readWave(missing, "/nonexistent/ondarix/x.wav", &error));
    EXPECT_EQ(error, "the file cannot be opened");
    CMeasure most; // the largest channel count a measurement holds is fine
    EXPECT_TRUE(read(wave(fmt(1, 64, 16), Bytes(128 * 3, 0)), most));
    EXPECT_EQ(most.sampleCount, 3);
}

TEST(WaveFormat, ChunksAreFoundAroundOthersAndShortDataIsReadOnRequest) {
    // A LIST chunk of odd size before "fmt ", a "fact" chunk between it and "data".
    Bytes body;
    append(body, "WAVE");
    append(body, chunk("LIST", {'I', 'N', 'F', 'O', 'x'}));
    append(body, chunk("fmt ", fmt(1, 1, 16)));
    append(body, chunk("fact", {1, 0, 0, 0}));
    append(body, chunk("data", {5, 0, 6, 0, 7, 0}, 1000)); // declares far more than is there
    CMeasure refused;
    std::string why;
    EXPECT_FALSE(read(chunk("RIFF", body), refused, &why));
    EXPECT_NE(why.find("only the first 3 of 500 rows"), std::string::npos) << why;
    EXPECT_FALSE(refused.hasSamples());
    CMeasure m;
    ReadReport report;
    ASSERT_TRUE(read(chunk("RIFF", body), m, &why, ReadOptions{true}, &report));
    ASSERT_EQ(m.sampleCount, 3);
    EXPECT_EQ(m.value(0, 2), 7.0f);
    EXPECT_EQ(report.rowsRead, 3);
    EXPECT_EQ(report.rowsExpected, 500);

    // Without a data chunk, or with no whole sample in it, the channels stay described.
    for (const Bytes& file : {wave(fmt(1, 2, 16), {}), wave(fmt(1, 2, 16), {1, 2, 3})}) {
        CMeasure empty;
        std::string error;
        EXPECT_FALSE(read(file, empty, &error));
        EXPECT_EQ(error, "the data chunk holds no complete sample");
        EXPECT_EQ(empty.channelCount, 2);
        EXPECT_FALSE(empty.hasSamples());
    }
}

// RIFF does not fix the order of the chunks; this file used to be refused as
// having no data chunk.
TEST(WaveFormat, DataBeforeTheFormatChunkIsFound) {
    Bytes data;
    for (int v : {1, -2, 3, -4})
        append(data, uint16_t(v), 2);
    Bytes body;
    append(body, "WAVE");
    append(body, chunk("data", data));
    append(body, chunk("LIST", {'I', 'N', 'F', 'O', 'x'})); // odd size, padded
    append(body, chunk("fmt ", fmt(1, 2, 16, 1000)));
    CMeasure m;
    std::string error;
    ASSERT_TRUE(read(chunk("RIFF", body), m, &error)) << error;
    expectConsistent(m);
    EXPECT_EQ(m.channelCount, 2);
    EXPECT_EQ(m.sampleRate, 1000.0);
    ASSERT_EQ(m.sampleCount, 2);
    EXPECT_EQ(m.value(0, 0), 1.0f);
    EXPECT_EQ(m.value(1, 0), -2.0f);
    EXPECT_EQ(m.value(1, 1), -4.0f);
}

TEST(WaveFormat, BlockBeyondTheMemoryLeftIsRefusedBeforeAllocation) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit starves the sanitizer's own allocator";
#endif
    // 8-bit mono of 0x12000000 bytes needs 1152 MiB of samples. The file is
    // sparse, so it costs no disk space. A child process reads it with 512 MiB
    // of address space left.
    const uint32_t dataBytes = 0x12000000;
    Bytes head = wave(fmt(1, 1, 8), {});
    poke(head, 4, uint32_t(head.size() - 8 + dataBytes), 4);
    poke(head, head.size() - 4, dataBytes, 4);
    ScratchFile scratch(".WAV");
    scratch.write(head);
    ASSERT_EQ(truncate(scratch.path(), off_t(head.size()) + dataBytes), 0);
    int answer[2];
    ASSERT_EQ(pipe(answer), 0);
    const pid_t child = fork();
    if (child == 0) {
        long pages = 0;
        if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(512) << 20);
        const rlimit space{limit, limit};
        setrlimit(RLIMIT_AS, &space);
        CMeasure m;
        std::string error;
        const bool read = readWave(m, scratch.path(), &error);
        error += m.hasSamples() || m.sampleCount != 0 ? " (samples kept)" : "";
        if (write(answer[1], error.data(), error.size()) < 0) _exit(3);
        _exit(read ? 1 : 0);
    }
    close(answer[1]);
    std::string error(512, '\0');
    const ssize_t got = read(answer[0], &error[0], error.size());
    error.resize(size_t(std::max<ssize_t>(got, 0)));
    close(answer[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the reader died instead of refusing";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the record was read";
    EXPECT_EQ(error.rfind("the samples need 1152 MB and the machine has ", 0), 0u) << error;
    EXPECT_NE(error.find(" MB available"), std::string::npos) << error;
    EXPECT_EQ(error.find("kept"), std::string::npos) << error;
}

TEST(WaveFormat, ALargeRecordReadOnTwoThreadsKeepsEveryRowAndStopsAtACut) {
    // 9.6 MB of three 16-bit channels: read in two halves at once.
    const int rows = 1600000, channels = 3;
    auto valueOf = [](int j, int c) { return int16_t((j * 7 + c * 1000) % 30000 - 15000); };
    Bytes data;
    data.reserve(size_t(rows) * channels * 2);
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            append(data, uint16_t(valueOf(j, c)), 2);
    Bytes full = wave(fmt(1, channels, 16), data);
    CMeasure m;
    std::string why;
    ASSERT_TRUE(read(full, m, &why)) << why;
    ASSERT_EQ(m.sampleCount, rows);
    int wrong = 0;
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            wrong += m.value(c, j) != float(valueOf(j, c));
    EXPECT_EQ(wrong, 0);
    // Cut in the first half: the rows before the cut, and none after it,
    // though the second half's rows are all there.
    full.resize(full.size() - data.size() + 600000 * channels * 2 + 5);
    CMeasure cut;
    ReadReport report;
    ASSERT_TRUE(read(full, cut, &why, ReadOptions{true}, &report)) << why;
    EXPECT_EQ(cut.sampleCount, 600000);
    EXPECT_EQ(cut.value(2, 599999), float(valueOf(599999, 2)));
}

TEST(WaveFormat, TruncatedAndCorruptedFilesStayConsistent) {
    Bytes data;
    for (int v = 0; v < 40; ++v)
        append(data, uint16_t(v * 100 - 2000), 2);
    const Bytes full = wave(fmt(1, 2, 16), data, chunk("LIST", {'I', 'N', 'F', 'O'}));
    const size_t dataStart = full.size() - data.size();
    ScratchFile scratch(".WAV");
    for (size_t length = 0; length <= full.size(); ++length) {
        scratch.write(full, length);
        int rows = length > dataStart ? int(length - dataStart) / 4 : 0;
        // A cut file is refused, naming the complete rows.
        CMeasure whole;
        std::string error;
        EXPECT_EQ(readWave(whole, scratch.path(), &error), length == full.size()) << length;
        expectConsistent(whole);
        if (rows > 0 && length < full.size()) {
            EXPECT_NE(error.find(std::to_string(rows) + " of 20 rows"), std::string::npos) << error;
        }
        // A partial read keeps them.
        CMeasure m;
        ReadReport report;
        bool ok = readWave(m, scratch.path(), &error, ReadOptions{true}, &report);
        expectConsistent(m);
        EXPECT_EQ(ok, rows > 0) << length << " " << error;
        ASSERT_EQ(m.sampleCount, rows) << length;
        if (rows > 0) {
            EXPECT_EQ(m.value(1, rows - 1), float((2 * rows - 1) * 100 - 2000));
            EXPECT_EQ(report.partialAvailable, rows < 20) << length;
            if (report.partialAvailable) {
                EXPECT_EQ(report.rowsExpected, 20);
            }
        }
    }
    std::mt19937 random(7);
    for (int round = 0; round < 600; ++round) {
        Bytes bytes = full;
        for (int k = 0; k < 3; ++k)
            bytes[random() % dataStart] = uint8_t(random());
        scratch.write(bytes, round % 3 ? bytes.size() : random() % bytes.size());
        CMeasure m;
        std::string error;
        bool ok = readWave(m, scratch.path(), &error);
        expectConsistent(m);
        EXPECT_EQ(ok, error.empty());
        EXPECT_EQ(ok, m.hasSamples());
    }
}

// 32-bit floats are spread straight from the file's bytes, four channels at a
// time: a record of five channels on two threads (over 8 MB) keeps every
// value in its own channel and row, the fifth channel and the last odd rows
// too.
TEST(WaveFormat, ALargeFloatRecordKeepsEveryValueInItsChannel) {
    const int rows = 450003, channels = 5;
    auto valueOf = [](int j, int c) { return float(j) * 0.5f + float(c) * 1e6f; };
    std::vector<double> values;
    values.reserve(size_t(rows) * channels);
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            values.push_back(double(valueOf(j, c)));
    CMeasure m;
    std::string why;
    ASSERT_TRUE(read(wave(fmt(3, channels, 32), floats(values, 4)), m, &why)) << why;
    ASSERT_EQ(m.sampleCount, rows);
    int wrong = 0;
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            wrong += m.value(c, j) != valueOf(j, c);
    EXPECT_EQ(wrong, 0);
}

// Float samples are kept as stored, unscaled, like soundfile's float reading;
// doubles are rounded to the float the measurement holds.
TEST(WaveFormat, FloatSamplesReadAsStoredInBothLayouts) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values = {0.25, -1.5,    1e-3, 123456.789, -0.1, 3.0e38,
                                        1e39, -1e-300, inf,  -inf,       1.0,  -0.75};
    for (int bytes : {4, 8})
        for (uint16_t channels : {1, 3}) {
            uint16_t bits = uint16_t(8 * bytes);
            for (const Bytes& format : {fmt(3, channels, bits), extensible(channels, bits, 3)}) {
                CMeasure m;
                std::string error;
                ASSERT_TRUE(read(wave(format, floats(values, bytes)), m, &error))
                    << bits << " bits, " << channels << " channels: " << error;
                expectConsistent(m);
                EXPECT_EQ(m.channelCount, channels);
                EXPECT_EQ(m.channels[0].coefficient, 1.0);
                ASSERT_EQ(m.sampleCount, int(values.size()) / channels);
                for (size_t k = 0; k < values.size(); ++k) {
                    float got = m.value(int(k % channels), int(k / channels));
                    EXPECT_EQ(got, float(values[k])) << bits << " bits, value " << k;
                }
            }
        }
    // NaN is kept for the analyses to refuse, not turned into a number.
    for (int bytes : {4, 8}) {
        CMeasure m;
        Bytes data = floats({std::nan(""), 2.0}, bytes);
        ASSERT_TRUE(read(wave(fmt(3, 1, uint16_t(8 * bytes)), data), m));
        EXPECT_TRUE(std::isnan(m.value(0, 0)));
        EXPECT_EQ(m.value(0, 1), 2.0f);
    }
}

TEST(WaveFormat, MalformedFloatFormatsAreRefusedWithAReason) {
    Bytes data(16, 0);
    Bytes badAlign = fmt(3, 2, 32);
    poke(badAlign, 12, 6, 2);
    struct Case {
        Bytes format;
        const char* reason;
    } cases[] = {
        {fmt(3, 1, 16), "16-bit float samples cannot be read (32 or 64 bits)"},
        {extensible(2, 24, 3), "24-bit float samples cannot be read (32 or 64 bits)"},
        {badAlign, "a block of 6 bytes does not hold 2 samples of 4 bytes"},
    };
    for (const Case& c : cases) {
        CMeasure m;
        std::string error;
        EXPECT_FALSE(read(wave(c.format, data), m, &error));
        EXPECT_EQ(error, c.reason);
        expectConsistent(m);
        EXPECT_EQ(m.channelCount, 0);
    }
}

TEST(WaveFormat, CutFloatFilesAreReadPartlyOnRequest) {
    std::vector<double> values;
    for (int k = 0; k < 14; ++k)
        values.push_back(k * 0.5 - 3.0);
    for (int bytes : {4, 8})
        for (bool extended : {false, true}) {
            uint16_t bits = uint16_t(8 * bytes);
            Bytes format = extended ? extensible(2, bits, 3) : fmt(3, 2, bits);
            Bytes full = wave(format, floats(values, bytes));
            // Five whole rows and half of the sixth are left.
            Bytes cut(full.begin(), full.end() - 3 * bytes);
            CMeasure refused;
            std::string error;
            EXPECT_FALSE(read(cut, refused, &error));
            EXPECT_NE(error.find("5 of 7 rows"), std::string::npos) << error;
            CMeasure header;
            ReadReport headerReport;
            ScratchFile scratch(".WAV");
            scratch.write(cut);
            ASSERT_TRUE(
                readWaveHeader(header, scratch.path(), &error, ReadOptions{true}, &headerReport));
            EXPECT_EQ(header.sampleCount, 5);
            CMeasure m;
            ReadReport report;
            ASSERT_TRUE(read(cut, m, &error, ReadOptions{true}, &report)) << error;
            expectConsistent(m);
            ASSERT_EQ(m.sampleCount, 5);
            EXPECT_EQ(report.rowsRead, 5);
            EXPECT_EQ(report.rowsExpected, 7);
            EXPECT_EQ(m.value(1, 4), float(values[9]));
        }
}

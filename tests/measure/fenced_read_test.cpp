#include "measure/fenced_read.h"

#include <gtest/gtest.h>
#include <hdf5.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>
#include <vector>

#include "measure/hdf5_format.h"
#include "measure/sample_stream.h"
#include "support/temp_dir.h"

namespace {

struct Result {
    bool ok;
    std::string why;
    ReadReport report;
};

Result fenced(CMeasure& m, const FencedReader& read, FenceLimits limits = {}) {
    Result r{};
    r.ok = readFenced(m, "/dev/null", read, &r.why, &r.report, limits);
    return r;
}

// What a reader of two channels gives: a name, a rate and a ramp.
bool fillRamp(CMeasure& m, std::string*, ReadReport* report) {
    m.channelCount = 2;
    m.sampleCount = 100000;
    m.sampleRate = 48.5;
    describePlainChannels(m);
    copyField(m.name, sizeof m.name, "from the child");
    if (!m.allocateSamples()) return false;
    for (int r = 0; r < m.sampleCount; ++r)
        for (int c = 0; c < 2; ++c)
            m.setSample(c, r, Sample{float(r) + 0.5f * float(c), 0.0f});
    report->rowsRead = report->rowsExpected = m.sampleCount;
    return true;
}

} // namespace

TEST(FencedRead, TheChildsSamplesBecomeTheMeasurementsOwnBlock) {
    CMeasure m;
    Result r = fenced(m, fillRamp);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_STREQ(m.name, "from the child");
    EXPECT_EQ(m.sampleRate, 48.5);
    ASSERT_EQ(m.sampleCount, 100000);
    EXPECT_EQ(r.report.rowsRead, 100000);
    EXPECT_TRUE(m.samplesMapped());
    EXPECT_EQ(m.value(1, 99999), 99999.5f);
    // The block is the measurement's to change and to let go of.
    m.setSample(0, 0, Sample{7.0f, 0.0f});
    EXPECT_EQ(m.value(0, 0), 7.0f);
    m.truncateSamples(10);
    EXPECT_EQ(m.value(1, 9), 9.5f);
    m.releaseSamples();
    EXPECT_FALSE(m.samplesMapped());
}

TEST(FencedRead, AReaderThatFailsGivesItsReasonAndAnEmptyMeasurement) {
    CMeasure m;
    Result r = fenced(m, [](CMeasure& c, std::string* why, ReadReport* report) {
        fillRamp(c, why, report);
        report->rateNeeded = true;
        *why = "the file does not say its sample rate: give it";
        return false;
    });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.why, "the file does not say its sample rate: give it");
    EXPECT_TRUE(r.report.rateNeeded);
    EXPECT_FALSE(m.hasSamples());
    EXPECT_EQ(m.sampleCount, 0);
}

// What a damaged file does to a library: each ends the child only, with
// one line, and the program goes on to read the next file.
TEST(FencedRead, ACrashAHangOrACancelEndsTheChildNotTheProgram) {
    CMeasure m;
    Result crash = fenced(m, [](CMeasure&, std::string*, ReadReport*) -> bool {
        std::raise(SIGSEGV);
        return true;
    });
    EXPECT_FALSE(crash.ok);
    // (The address sanitizer turns the signal into an exit of its own.)
    EXPECT_EQ(crash.why.rfind("the file library stopped on this file ", 0), 0u) << crash.why;
    Result abort = fenced(m, [](CMeasure&, std::string*, ReadReport*) -> bool { std::abort(); });
    EXPECT_EQ(abort.why.rfind("the file library stopped on this file (signal 6, ", 0), 0u)
        << abort.why;

    FenceLimits brief;
    brief.baseSeconds = 1;
    Result hang = fenced(
        m,
        [](CMeasure&, std::string*, ReadReport*) {
            for (;;)
                pause();
            return true;
        },
        brief);
    EXPECT_EQ(hang.why, "reading the file took more than 1 s and was stopped; it is damaged or "
                        "asks for more work than its size can justify");

    static int asked = 0;
    asked = 0;
    const ReadCancelCheck before = setReadCancelCheck([] { return ++asked == 3; });
    Result cancelled = fenced(m, [](CMeasure&, std::string*, ReadReport*) {
        for (;;)
            pause();
        return true;
    });
    setReadCancelCheck(before);
    EXPECT_EQ(cancelled.why, "the read was cancelled");
    EXPECT_EQ(asked, 3);
    EXPECT_FALSE(m.hasSamples());
    EXPECT_TRUE(fenced(m, fillRamp).ok);
}

// A library asked for gigabytes by a few bytes of a file: the child may
// take its samples and a margin, no more. (Its own limit refuses the
// allocation; where the address sanitizer allows it, the parent's watch
// stops the child.)
TEST(FencedRead, TheChildsMemoryIsItsSamplesAndAMargin) {
    FenceLimits small;
    small.memoryMargin = int64_t(64) << 20;
    CMeasure m;
    Result bomb = fenced(
        m,
        [](CMeasure&, std::string* why, ReadReport*) {
            std::vector<void*> pieces;
            for (int i = 0; i < 64 && why->empty(); ++i) {
                void* piece = std::malloc(size_t(16) << 20);
                if (piece)
                    std::memset(piece, 1, size_t(16) << 20);
                else
                    *why = "the library could not have its memory";
                pieces.push_back(piece);
                usleep(20000);
            }
            for (void* piece : pieces)
                std::free(piece);
            return false;
        },
        small);
    EXPECT_TRUE(bomb.why == "the library could not have its memory" ||
                bomb.why == "reading the file took more memory than its samples and a margin of "
                            "64 MB and was stopped; it is damaged")
        << bomb.why;
    // Samples beyond the margin are the file's own, and allowed.
    Result samples = fenced(
        m,
        [](CMeasure& c, std::string*, ReadReport*) {
            if (!c.allocateSamples(32 << 20, 1, SAMPLE_FORMAT_REAL)) return false;
            std::memset(c.blockBytes(), 0, size_t(c.sampleBytes()));
            return true;
        },
        small);
    EXPECT_TRUE(samples.ok) << samples.why;
    EXPECT_EQ(m.sampleBytes(), int64_t(128 << 20));
}

namespace {

// The descriptor of the samples' shared file in this (reading) process.
int sharedSamplesFd() {
    for (int fd = 3; fd < 1024; ++fd) {
        char link[256] = {};
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        if (readlink(path.c_str(), link, sizeof link - 1) > 0 &&
            std::strstr(link, "memfd:ondarix-samples"))
            return fd;
    }
    return -1;
}

} // namespace

// A reading child that leaves a process behind holding its shared samples
// (as code a hostile file ran in the library could) cannot cut them under
// the program's mapping afterwards: reading them would end the program.
TEST(FencedRead, SharedSamplesCannotBeCutByAProcessTheChildLeftBehind) {
    CMeasure m;
    Result r = fenced(m, [](CMeasure& c, std::string*, ReadReport*) {
        c.channelCount = 1;
        c.sampleCount = 1 << 20;
        c.sampleRate = 10.0;
        describePlainChannels(c);
        if (!c.allocateSamples()) return false;
        for (int64_t i = 0; i < c.sampleCount; ++i)
            c.column(0)[i] = float(i);
        const int fd = sharedSamplesFd();
        if (fd < 0) return false;
        if (fork() == 0) {
            // Only the shared file kept: the program is not kept waiting.
            for (int other = 3; other < 1024; ++other)
                if (other != fd) close(other);
            usleep(300000);
            _exit(ftruncate(fd, 0) == 0 ? 0 : 1);
        }
        return true;
    });
    ASSERT_TRUE(r.ok) << r.why;
    ASSERT_TRUE(m.samplesMapped());
    usleep(600000);
    double sum = 0;
    for (int64_t i = 0; i < m.sampleCount; ++i)
        sum += m.value(0, int(i));
    EXPECT_EQ(sum, double(m.sampleCount) * double(m.sampleCount - 1) / 2);
}

namespace {

// Row r of channel c of a streamed ramp.
float rampValue(int c, int r) {
    return float(c * 200000 + r);
}

// A reader that streams `rows` rows of `channels` channels of ramps in
// pieces of 1000, through the stream a reading child has (when it has one),
// channel after channel or row after row.
bool streamRamp(CMeasure& m, int rows, int64_t declared, int channels = 1,
                bool interleaved = false) {
    m.channelCount = channels;
    m.sampleCount = rows;
    m.sampleRate = 10.0;
    describePlainChannels(m);
    const SampleStream* stream = sampleStream();
    if (!stream) return false;
    if (!stream->begin(declared, channels)) return false;
    std::vector<std::vector<float>> pieces(STREAM_PIECES,
                                           std::vector<float>(size_t(1000 * channels)));
    for (int first = 0, index = 0; first < rows; first += 1000, ++index) {
        const int count = std::min(1000, rows - first);
        float* out = pieces[size_t(index % STREAM_PIECES)].data();
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < count; ++i)
                out[interleaved ? i * channels + c : c * count + i] = rampValue(c, first + i);
        if (!stream->put(first, out, count, interleaved)) return false;
    }
    return stream->finish();
}

} // namespace

// A child that crashes with pieces offered and not yet answered (the library
// died while the program was still taking them) is one line; writing the
// answers to it does not end the program (SIGPIPE).
TEST(FencedRead, AChildThatDiesWithPiecesUnansweredIsOneLine) {
    for (int round = 0; round < 2; ++round) {
        CMeasure m;
        Result r = fenced(m, [](CMeasure& c, std::string*, ReadReport*) {
            c.channelCount = 1;
            c.sampleCount = 4000;
            c.sampleRate = 10.0;
            describePlainChannels(c);
            const SampleStream* stream = sampleStream();
            static std::vector<float> piece(1000, 1.0f);
            if (!stream || !stream->begin(4000, 1)) return false;
            for (int first = 0; first < 3000; first += 1000)
                stream->put(first, piece.data(), 1000, false);
            // Gone as far as the program can tell (its pipes closed), while
            // the program still answers the pieces; then dead.
            for (int fd = 3; fd < 1024; ++fd)
                close(fd);
            usleep(200000);
            raise(SIGKILL);
            return true;
        });
        if (!r.ok && r.why.empty()) GTEST_SKIP() << "this system forbids copying from a child";
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(m.hasSamples());
        EXPECT_TRUE(r.why.find("signal 9") != std::string::npos ||
                    r.why.find("sent fewer samples") != std::string::npos ||
                    r.why.find("without an answer") != std::string::npos)
            << r.why;
    }
}

// Where the system lets a process copy out of its child, the child streams
// its samples piece by piece into the parent's own memory.
TEST(FencedRead, StreamedPiecesBecomeTheSamplesAndNothingBeyondWhatWasAskedFor) {
    CMeasure m;
    Result r = fenced(
        m, [](CMeasure& c, std::string*, ReadReport*) { return streamRamp(c, 123456, 123456); });
    if (!r.ok && r.why.empty()) GTEST_SKIP() << "this system forbids copying from a child";
    ASSERT_TRUE(r.ok) << r.why;
    ASSERT_EQ(m.sampleCount, 123456);
    EXPECT_FALSE(m.samplesMapped());
    for (int row : {0, 999, 1000, 123455})
        EXPECT_EQ(m.value(0, row), float(row)) << row;
    // Pieces of several channels land in their own channels' rows.
    CMeasure three;
    ASSERT_TRUE(fenced(three, [](CMeasure& c, std::string*, ReadReport*) {
                    return streamRamp(c, 2500, 2500, 3);
                }).ok);
    for (int c = 0; c < 3; ++c)
        for (int row : {0, 999, 1000, 2499})
            EXPECT_EQ(three.value(c, row), rampValue(c, row)) << c << " " << row;
    // So do pieces of interleaved rows, as a file stores them.
    CMeasure rows;
    ASSERT_TRUE(fenced(rows, [](CMeasure& c, std::string*, ReadReport*) {
                    return streamRamp(c, 2500, 2500, 3, true);
                }).ok);
    for (int c = 0; c < 3; ++c)
        for (int row : {0, 511, 512, 999, 1000, 2499})
            EXPECT_EQ(rows.value(c, row), rampValue(c, row)) << c << " " << row;
    // A child that sends more than it announced is stopped, as is one that
    // claims success with samples missing.
    CMeasure more;
    Result beyond = fenced(
        more, [](CMeasure& c, std::string*, ReadReport*) { return streamRamp(c, 5000, 4000); });
    EXPECT_EQ(beyond.why,
              "the process reading the file sent what it was not asked for; the file is damaged");
    EXPECT_FALSE(more.hasSamples());
    CMeasure fewer;
    Result missing = fenced(
        fewer, [](CMeasure& c, std::string*, ReadReport*) { return streamRamp(c, 3000, 4000); });
    EXPECT_EQ(missing.why,
              "the process reading the file sent fewer samples than it read; the file is damaged");
    EXPECT_FALSE(fewer.hasSamples());
}

// A valid file of large compressed chunks needs a chunk cache as large, and
// the library's buffers to inflate into it: memory the file justifies, which
// the child's margin alone did not cover (a file h5py reads was refused).
TEST(FencedRead, AFileOfLargeChunksMayTakeTheMemoryItsChunksNeed) {
    TempDir dir;
    const std::string path = dir.file("large-chunks.h5");
    const hsize_t rows = hsize_t(12) << 20;
    {
        const std::vector<float> zeros(rows, 0.0f);
        hid_t file = H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
        const double rate = 50.0;
        hid_t scalar = H5Screate(H5S_SCALAR);
        hid_t attribute =
            H5Acreate2(file, "sample_rate", H5T_NATIVE_DOUBLE, scalar, H5P_DEFAULT, H5P_DEFAULT);
        H5Awrite(attribute, H5T_NATIVE_DOUBLE, &rate);
        const hsize_t dims[2] = {rows, 1};
        hid_t space = H5Screate_simple(2, dims, nullptr);
        hid_t dcpl = H5Pcreate(H5P_DATASET_CREATE);
        H5Pset_chunk(dcpl, 2, dims);
        H5Pset_deflate(dcpl, 1);
        hid_t d =
            H5Dcreate2(file, "samples", H5T_NATIVE_FLOAT, space, H5P_DEFAULT, dcpl, H5P_DEFAULT);
        H5Dwrite(d, H5T_NATIVE_FLOAT, H5S_ALL, H5S_ALL, H5P_DEFAULT, zeros.data());
        H5Dclose(d);
        H5Pclose(dcpl);
        H5Sclose(space);
        H5Aclose(attribute);
        H5Sclose(scalar);
        H5Fclose(file);
    }
    FenceLimits small;
    small.memoryMargin = int64_t(32) << 20;
    CMeasure m;
    std::string why;
    const bool ok = readFenced(
        m, path.c_str(),
        [&](CMeasure& c, std::string* e, ReadReport* r) {
            return readHdf5(c, path.c_str(), e, {}, r);
        },
        &why, nullptr, small);
    EXPECT_TRUE(ok) << why;
    EXPECT_EQ(m.sampleCount, int32_t(rows));
}

// What the child describes is checked against what it handed over: a
// description of more rows than samples would have the program read past
// its block later.
TEST(FencedRead, ADescriptionOfMoreSamplesThanWereReadIsRefused) {
    CMeasure m;
    Result r = fenced(m, [](CMeasure& c, std::string* why, ReadReport* report) {
        const bool ok = fillRamp(c, why, report);
        c.sampleCount *= 10;
        std::memset(c.name, 'x', sizeof c.name); // no end to the text
        return ok;
    });
    EXPECT_EQ(r.why, "the process reading the file described more samples than it read; the "
                     "file is damaged");
    EXPECT_FALSE(m.hasSamples());
    EXPECT_EQ(m.sampleCount, 0);
    EXPECT_LT(strnlen(m.name, sizeof m.name), sizeof m.name);
}

// A child the file subverted may write anything into the list of matrices
// to choose from: the parent keeps no more than the list holds, ends every
// text within its field and drops shapes no file has.
TEST(FencedRead, TheListOfCandidatesIsBoundedWhateverTheChildWrote) {
    CMeasure m;
    Result r = fenced(m, [](CMeasure&, std::string* why, ReadReport* report) {
        report->variableNeeded = true;
        for (SamplesCandidate& c : report->candidates) {
            std::memset(c.name, 'x', sizeof c.name);
            std::memset(c.type, 'y', sizeof c.type);
            c.rank = 2;
            c.dims[0] = 4;
            c.dims[1] = 9;
        }
        report->candidates[1].rank = 7;
        report->candidates[2].dims[1] = -5;
        report->candidates[3].name[0] = '\0';
        report->candidateCount = 100000;
        *why = "the file holds several numeric matrices";
        return false;
    });
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.report.variableNeeded);
    EXPECT_EQ(r.report.candidateCount, MAX_SAMPLES_CANDIDATES - 3);
    for (int i = 0; i < MAX_SAMPLES_CANDIDATES; ++i) {
        const SamplesCandidate& c = r.report.candidates[i];
        EXPECT_LT(strnlen(c.name, sizeof c.name), sizeof c.name) << i;
        EXPECT_LT(strnlen(c.type, sizeof c.type), sizeof c.type) << i;
    }

    // A negative count lists nothing.
    r = fenced(m, [](CMeasure&, std::string*, ReadReport* report) {
        report->candidateCount = -3;
        return false;
    });
    EXPECT_EQ(r.report.candidateCount, 0);
}

namespace {

// A reader as the file readers are: RowBlocks of `blockRows` rows over a
// record of `rows`, each block filled channel after channel or, `interleaved`,
// as the file's rows.
bool fillThroughRowBlocks(CMeasure& m, int rows, int64_t blockRows, bool interleaved) {
    m.channelCount = 3;
    m.sampleCount = rows;
    m.sampleRate = 10.0;
    describePlainChannels(m);
    RowBlocks blocks(m, blockRows, nullptr);
    if (!blocks.valid()) return false;
    for (int first = 0; first < rows; first += int(blockRows)) {
        const int count = int(std::min<int64_t>(blockRows, rows - first));
        if (interleaved) {
            float* out = blocks.beginRows(first, count);
            for (int i = 0; i < count; ++i)
                for (int c = 0; c < 3; ++c)
                    out[i * 3 + c] = rampValue(c, first + i);
        } else {
            blocks.begin(first, count);
            for (int c = 0; c < 3; ++c)
                for (int i = 0; i < count; ++i)
                    blocks.column(c)[i] = rampValue(c, first + i);
        }
        if (!blocks.end()) return false;
    }
    return blocks.finish();
}

} // namespace

// The pieces a reading child fills are sized to the record: a record shorter
// than one block, or blocks of any length, arrive whole and in place.
TEST(FencedRead, BlocksLongerOrShorterThanTheRecordHandOverEveryRow) {
    struct Case {
        int rows;
        int64_t blockRows;
    };
    for (const Case k :
         {Case{700, int64_t(1) << 20}, Case{700, 300}, Case{1, 65536}, Case{200000, 65536}}) {
        for (bool interleaved : {false, true}) {
            CMeasure m;
            Result r = fenced(m, [&](CMeasure& c, std::string*, ReadReport*) {
                return fillThroughRowBlocks(c, k.rows, k.blockRows, interleaved);
            });
            ASSERT_TRUE(r.ok) << r.why << " " << k.rows << " " << k.blockRows;
            ASSERT_EQ(m.sampleCount, k.rows);
            for (int c = 0; c < 3; ++c)
                for (int row : {0, k.rows / 2, k.rows - 1})
                    EXPECT_EQ(m.value(c, row), rampValue(c, row))
                        << k.rows << " " << k.blockRows << " " << interleaved << " " << c << " "
                        << row;
        }
    }
}

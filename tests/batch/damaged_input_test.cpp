// ondarix-batch on files cut short, with data beyond their samples, or
// holding no channel: refused with the reason, or read with a warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/run_command.h"

namespace {

// An .INT file of layout 5 with 2 channels of 100 rows, built byte by byte.
std::vector<unsigned char> intFile() {
    ByteWriter w;
    w.put(50.0).put(uint8_t(2)).put(int8_t(5)).put(int32_t(100));
    w.put(uint32_t(0)).put(uint8_t(3)).text("run", 60);
    for (int c = 0; c < 2; ++c) {
        w.put(1.0).put(uint8_t(1)).text("m", 7);
        w.put(uint8_t(7)).text("gauge " + std::to_string(c + 1), 40).put(0.0);
        w.put(0.0).put(0.0).put(0.0).put(0.0);
    }
    for (int j = 0; j < 100; ++j)
        for (int c = 0; c < 2; ++c)
            w.put(float((j % 10) - 4.5 + c));
    return w.bytes;
}

long lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

// Every command that reads a measurement, reading `cut`.
std::vector<std::vector<std::string>> readingCommands(const std::string& cut, const TempDir& dir) {
    const std::string list = dir.file("none.txt");
    return {
        {"info", cut},
        {"stats", cut, "--channel", "0", "--from", "0", "--to", "99"},
        {"block", cut, "--channel", "1", "--from", "0", "--to", "10"},
        {"convert", cut, dir.file("out.INT")},
        {"fourier", cut, "-o", dir.file("f.TXT")},
        {"waves", cut},
        {"spectrum", cut, "--segment", "32"},
        {"reflection", cut, "--channels", "0,1", "--positions", "0,1", "--depth", "1"},
        {"kalman", cut, "--channel", "0", "--from", "0", "--to", "99", "--components", list, "-o",
         dir.file("k.INT")},
        {"aprox", cut, "--channel", "0", "--from", "0", "--to", "99", "--components", list, "-o",
         dir.file("a.INT")},
        {"plot", cut, "-o", dir.file("p.png")},
    };
}

} // namespace

TEST(BatchDamagedInput, CutFileIsRefusedNamingItsCompleteRows) {
    TempDir dir;
    const std::string cut = dir.file("cut.INT");
    std::vector<unsigned char> bytes = intFile();
    bytes.resize(bytes.size() - 6); // inside row 99
    writeBytes(cut, bytes);
    CommandResult r = runBatch({"info", cut});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("only the first 99 of 100 rows are complete"), std::string::npos) << r.err;

    // info --partial shows the rows a partial read keeps.
    const std::string warning = "ondarix-batch: warning: " + cut +
                                ": read 99 of 100 rows; the rest of the file is damaged\n";
    r = runBatch({"info", cut, "--partial"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("samples:     99\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, warning);

    // convert keeps those rows, and says so.
    r = runBatch({"convert", cut, dir.file("kept.TXT"), "--partial"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, warning);
    r = runBatch({"info", dir.file("kept.TXT")});
    EXPECT_NE(r.out.find("samples:     99\n"), std::string::npos) << r.out << r.err;
}

// Every command that reads a measurement takes --partial and warns; the
// commands' own failures afterwards (no component list here) are theirs.
TEST(BatchDamagedInput, EveryReadingCommandTakesPartialAndWarns) {
    TempDir dir;
    const std::string cut = dir.file("cut.INT");
    std::vector<unsigned char> bytes = intFile();
    bytes.resize(bytes.size() - 6);
    writeBytes(cut, bytes);
    const auto commands = readingCommands(cut, dir);
    for (std::vector<std::string> args : commands) {
        SCOPED_TRACE(args[0]);
        args.push_back("--partial");
        CommandResult r = runBatch(args);
        EXPECT_NE(r.exitCode, 2) << r.err;
        EXPECT_EQ(r.err.find("ondarix-batch: warning: " + cut + ": read 99 of 100 rows"), 0u)
            << r.err;
    }
}

// Every command that reads a measurement reads the HDF5 dataset --dataset names.
TEST(BatchDamagedInput, EveryReadingCommandTakesTheDatasetToRead) {
    TempDir dir;
    const std::string source = dir.file("run.INT"), arrays = dir.file("run.h5");
    writeBytes(source, intFile());
    ASSERT_EQ(runBatch({"convert", source, arrays}).exitCode, 0);
    for (std::vector<std::string> args : readingCommands(arrays, dir)) {
        SCOPED_TRACE(args[0]);
        args.insert(args.end(), {"--dataset", "/elsewhere"});
        CommandResult r = runBatch(args);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_EQ(r.err, "ondarix-batch: " + arrays +
                             ": not a readable .hdf5 file: the file holds no dataset /elsewhere\n");
    }
}

// The HDF5 library keeps quiet about a damaged file, even at exit, where
// it prints a page of its state after some damage to the superblock.
TEST(BatchDamagedInput, DamagedHdf5FileIsRefusedInOneLine) {
    TempDir dir;
    const std::string arrays = dir.file("run.h5");
    ASSERT_EQ(runBatch({"convert", SAMPLE_FILE, arrays}).exitCode, 0);
    const std::vector<unsigned char> whole = readBytes(arrays);
    // The end-of-file address in the superblock, and the root group's entry.
    for (size_t at : {40, 41, 42, 43, 120, 124, 126, 127, 128, 129, 130, 132, 136}) {
        std::vector<unsigned char> bytes = whole;
        bytes[at] = 0;
        writeBytes(arrays, bytes);
        CommandResult r = runBatch({"info", arrays});
        EXPECT_LE(lineCount(r.err), r.exitCode == 0 ? 0 : 1) << at << r.err;
    }
    writeBytes(arrays, std::vector<unsigned char>(whole.begin(), whole.begin() + 3000));
    CommandResult r = runBatch({"info", arrays});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
}

TEST(BatchDamagedInput, BytesAfterTheSamplesAreNamed) {
    TempDir dir;
    const std::string path = dir.file("long.INT");
    std::vector<unsigned char> bytes = intFile();
    bytes.insert(bytes.end(), 1234, 0x55);
    writeBytes(path, bytes);
    CommandResult r = runBatch({"info", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("samples:     100\nformat:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ignored:     1234 bytes after the samples\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.err, "");
    r = runBatch({"info", path, "--json"});
    EXPECT_NE(r.out.find("\"bytesIgnored\": 1234,"), std::string::npos) << r.out;
    r = runBatch({"stats", path, "--channel", "0", "--from", "0", "--to", "100"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err,
              "ondarix-batch: warning: " + path + ": 1234 bytes after the samples were ignored\n");
}

// 20 KB of zeros used to be described as a measurement of no channel.
TEST(BatchDamagedInput, FileOfZerosIsNoMeasurement) {
    TempDir dir;
    const std::string path = dir.file("zeros.INT");
    writeBytes(path, std::vector<unsigned char>(20 * 1024, 0));
    for (bool partial : {false, true}) {
        CommandResult r = runBatch(partial ? std::vector<std::string>{"info", path, "--partial"}
                                           : std::vector<std::string>{"info", path});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "ondarix-batch: " + path +
                             ": not a readable .int file: the file holds no channel\n");
    }
}

// info and the full read agree on a text file ending in blank lines.
TEST(BatchDamagedInput, TrailingBlankLinesOfTextAreNoRows) {
    TempDir dir;
    const std::string path = dir.file("tail.TXT");
    writeString(path, "0\t1\r\n0.02\t2\r\n0.04\t3\r\n\r\n \r\n");
    CommandResult info = runBatch({"info", path});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("samples:     3\n"), std::string::npos) << info.out;
    CommandResult block = runBatch({"block", path, "--channel", "0", "--from", "0", "--to", "3"});
    EXPECT_EQ(block.exitCode, 0) << block.err;
    EXPECT_EQ(lineCount(block.out), 3) << block.out;
}

// ondarix-batch never reports success for output that did not arrive, and a
// failed write leaves the file it was to replace as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "support/run_command.h"

namespace {

// ondarix-batch run by the shell after `setup` (ulimit and the like), with
// standard output sent to `out`.
CommandResult runBatchWith(const std::string& setup, const std::vector<std::string>& args,
                           const std::string& out) {
    TempDir dir;
    std::string cmd = setup + " exec " + shellQuote(ONDARIX_BATCH);
    for (const auto& a : args)
        cmd += " " + shellQuote(a);
    cmd += " >" + shellQuote(out) + " 2>" + shellQuote(dir.file("err")) + " </dev/null";
    cmd = "sh -c " + shellQuote(cmd);
    CommandResult r;
    int status = std::system(cmd.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto err = readBytes(dir.file("err"));
    r.err.assign(err.begin(), err.end());
    return r;
}

int lines(const std::string& text) {
    return int(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> entries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const char* const LIST = "1\t0\t64\t1\r\n0.5\t0.04\t1\t0\t0\t0\r\n";

} // namespace

// `stats --json > file` on a full disk used to give 0 bytes and exit 0.
TEST(BatchSafeOutput, ResultsThatCannotReachStandardOutputFailTheRun) {
    TempDir dir;
    const std::string list = dir.file("list.TXT");
    writeString(list, LIST);
    const std::vector<std::vector<std::string>> printing = {
        {"info", SAMPLE_FILE},
        {"info", SAMPLE_FILE, "--json"},
        {"stats", SAMPLE_FILE, "--channel", "1", "--from", "0", "--to", "2000", "--json"},
        {"block", SAMPLE_FILE, "--channel", "1", "--from", "0", "--to", "3000"},
        {"waves", SAMPLE_FILE, "--channel", "1"},
        {"spectrum", SAMPLE_FILE, "--channel", "1", "--json"},
        {"reflection", SAMPLE_FILE, "--channels", "1,2,3", "--positions", "4,8,12", "--depth",
         "0.77"},
        {"kalman", SAMPLE_FILE, "--channel", "1", "--from", "0", "--to", "64", "--components", list,
         "-o", dir.file("k.TXT")},
        {"--help"},
        {"--version"},
        {"info", "--help"},
    };
    for (const auto& args : printing) {
        SCOPED_TRACE(args[0] + " " + args.back());
        CommandResult fine = runBatchWith("", args, dir.file("out"));
        ASSERT_EQ(fine.exitCode, 0) << fine.err;
        EXPECT_FALSE(readBytes(dir.file("out")).empty());
        CommandResult full = runBatchWith("", args, "/dev/full");
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_EQ(full.err,
                  "ondarix-batch: cannot write standard output: No space left on device\n");
    }
    // A command that failed keeps its own exit code and its one line.
    CommandResult failed = runBatchWith("", {"info", dir.file("none.INT")}, "/dev/full");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(lines(failed.err), 1) << failed.err;
    EXPECT_EQ(failed.err.find("standard output"), std::string::npos) << failed.err;
}

// On a full disk `convert` used to exit 1 with the old file already cut to
// a few KiB of garbage.
TEST(BatchSafeOutput, AFailedWriteKeepsTheFileItWasToReplace) {
    TempDir dir;
    const std::string list = dir.file("list.TXT");
    writeString(list, LIST);
    const std::vector<std::vector<std::string>> writing = {
        {"convert", SAMPLE_FILE, dir.file("old.TXT")},
        {"convert", SAMPLE_FILE, dir.file("old.M11")},
        {"block", SAMPLE_FILE, "--channel", "1", "--from", "0", "--to", "3000", "-o",
         dir.file("old.TXT")},
        {"fourier", SAMPLE_FILE, "--channel", "1", "--to", "1024", "-o", dir.file("old.TXT")},
        {"spectrum", SAMPLE_FILE, "--channel", "1", "-o", dir.file("old.TXT")},
        {"kalman", SAMPLE_FILE, "--channel", "1", "--from", "0", "--to", "3000", "--components",
         list, "-o", dir.file("old.TXT")},
        {"kalman", SAMPLE_FILE, "--channel", "1", "--from", "0", "--to", "64", "--components", list,
         "-o", dir.file("k.TXT"), "--components-out", dir.file("old.TXT")},
    };
    const std::string old = "0.0\t1.0\r\n0.1\t2.0\r\n";
    const std::vector<unsigned char> oldBytes(old.begin(), old.end());
    for (const auto& args : writing) {
        SCOPED_TRACE(args[0] + " " + args.back());
        writeString(dir.file("old.TXT"), old);
        writeString(dir.file("old.M11"), old);
        const std::vector<std::string> before = entries(dir.path());
        // Files may grow to a KiB or two: the write fails part-way, as on a full disk.
        CommandResult r = runBatchWith("trap '' XFSZ; ulimit -f 2;", args, "/dev/null");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
        EXPECT_EQ(lines(r.err), 1) << r.err;
        EXPECT_EQ(readBytes(dir.file("old.TXT")), oldBytes);
        EXPECT_EQ(readBytes(dir.file("old.M11")), oldBytes);
        EXPECT_EQ(entries(dir.path()), before);
    }
}

// A FIFO given as -o used to block the command until something read it.
TEST(BatchSafeOutput, AnOutputThatIsNotARegularFileIsRefusedWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.TXT");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.file("folder.TXT").c_str(), 0700), 0);
    const std::vector<std::vector<std::string>> writing = {
        {"convert", SAMPLE_FILE, fifo},
        {"block", SAMPLE_FILE, "--channel", "1", "--from", "0", "--to", "30", "-o", fifo},
        {"fourier", SAMPLE_FILE, "--channel", "1", "--to", "64", "-o", fifo},
        {"convert", SAMPLE_FILE, dir.file("folder.TXT")},
    };
    for (const auto& args : writing) {
        SCOPED_TRACE(args[0] + " " + args.back());
        std::vector<std::string> timed = {"timeout", "20", ONDARIX_BATCH};
        timed.insert(timed.end(), args.begin(), args.end());
        CommandResult r = runCommand("/usr/bin/env", timed);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
        EXPECT_EQ(lines(r.err), 1) << r.err;
    }
}

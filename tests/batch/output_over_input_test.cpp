// Every ondarix-batch command that writes files refuses to write over one of
// its own inputs, however the output's path reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_command.h"

TEST(BatchOutputOverInput, RefusedWithOneLineAndTheInputsKept) {
    TempDir dir;
    const std::string in = dir.file("in.INT"), list = dir.file("list.TXT");
    writeBytes(in, readBytes(SAMPLE_FILE));
    writeString(list, "1\t0\t64\t1\r\n0.5\t0.04\t1\t0\t0\t0\r\n");
    const std::vector<unsigned char> inBytes = readBytes(in), listBytes = readBytes(list);
    std::filesystem::create_symlink(in, dir.file("link.INT"));
    std::filesystem::create_hard_link(in, dir.file("hard.TXT"));
    const std::vector<std::string> block = {"--channel", "1", "--from", "0", "--to", "64"};
    auto with = [&](std::vector<std::string> head, const std::vector<std::string>& tail) {
        head.insert(head.begin() + 2, block.begin(), block.end());
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const std::vector<std::string> cases[] = {
        with({"fourier", in}, {"-o", dir.path() + "/./in.INT"}),
        with({"fourier", in}, {"-o", dir.file("link.INT")}),
        with({"block", in}, {"-o", dir.file("hard.TXT")}),
        {"convert", in, dir.file("link.INT")},
        with({"kalman", in}, {"--components", list, "-o", list}),
        with({"aprox", in}, {"--components", list, "-o", dir.file("fit.INT"), "--components-out",
                             dir.file("link.INT")}),
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0] + " " + args.back());
        CommandResult r = runBatch(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("same file"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(readBytes(in), inBytes);
        EXPECT_EQ(readBytes(list), listBytes);
        EXPECT_FALSE(std::filesystem::exists(dir.file("fit.INT")));
    }
}

// --components-out naming the file of -o used to overwrite the result with
// the list; the same name in any spelling, or through a link, is refused
// before anything runs, whether the file is there yet or not.
TEST(BatchOutputOverInput, TheListIsNotWrittenOverTheResult) {
    TempDir dir;
    const std::string list = dir.file("list.TXT"), fit = dir.file("fit.TXT");
    writeString(list, "1\t0\t64\t1\r\n0.5\t0.04\t1\t0\t0\t0\r\n");
    auto run = [&](const std::string& command, const std::string& listOut) {
        return runBatch({command, SAMPLE_FILE, "--channel", "1", "--from", "0", "--to", "64",
                         "--components", list, "-o", fit, "--components-out", listOut});
    };
    for (const char* command : {"kalman", "aprox"}) {
        SCOPED_TRACE(command);
        for (const std::string& listOut : {fit, dir.path() + "/./fit.TXT", dir.file("link.TXT")}) {
            std::filesystem::remove(fit);
            std::filesystem::remove(dir.file("link.TXT"));
            std::filesystem::create_symlink("fit.TXT", dir.file("link.TXT")); // dangling
            CommandResult r = run(command, listOut);
            EXPECT_EQ(r.exitCode, 1) << listOut;
            EXPECT_NE(r.err.find("same file as -o"), std::string::npos) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_FALSE(std::filesystem::exists(fit)) << listOut;
        }
        writeString(fit, "kept\n");
        std::filesystem::remove(dir.file("hard.TXT"));
        std::filesystem::create_hard_link(fit, dir.file("hard.TXT"));
        EXPECT_EQ(run(command, dir.file("hard.TXT")).exitCode, 1);
        EXPECT_EQ(readBytes(fit), std::vector<unsigned char>({'k', 'e', 'p', 't', '\n'}));
        // The list may still be kept up to date in place.
        CommandResult inPlace = run(command, list);
        EXPECT_EQ(inPlace.exitCode, 0) << inPlace.err;
    }
}

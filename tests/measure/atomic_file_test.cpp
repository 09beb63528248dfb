// Every measurement writer replaces its target whole or not at all: a write
// that fails or a writer killed half-way leaves the file that was there.
#include "measure/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "measure/hdf5_format.h"
#include "measure/int_format.h"
#include "measure/m11_format.h"
#include "measure/mat_format.h"
#include "measure/measure_file.h"
#include "measure/text_format.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace {

using Writer = std::function<bool(CMeasure&, const std::string&, std::string*)>;

struct NamedWriter {
    const char* name;
    Writer write;
};

const NamedWriter WRITERS[] = {
    {"int",
     [](CMeasure& m, const std::string& p, std::string* e) { return writeInt(m, p.c_str(), e); }},
    {"txt", [](CMeasure& m, const std::string& p,
               std::string* e) { return writeTextFile(m, p.c_str(), e); }},
    {"m11",
     [](CMeasure& m, const std::string& p, std::string* e) { return writeM11(m, p.c_str(), e); }},
    {"block", [](CMeasure& m, const std::string& p,
                 std::string* e) { return writeBlockText(m, 0, 0, m.sampleCount, p.c_str(), e); }},
    {"mat",
     [](CMeasure& m, const std::string& p, std::string* e) { return writeMat(m, p.c_str(), e); }},
    {"hdf5",
     [](CMeasure& m, const std::string& p, std::string* e) { return writeHdf5(m, p.c_str(), e); }},
};

// Two channels of `rows` samples, a saw tooth and a ramp.
void fill(CMeasure& m, int32_t rows) {
    m.channelCount = 2;
    m.sampleCount = rows;
    m.sampleRate = 50.0;
    describePlainChannels(m);
    EXPECT_TRUE(m.allocateSamples());
    for (int32_t j = 0; j < rows; ++j) {
        m.setSample(0, j, {float(j % 97) * 0.01f, 0.0f});
        m.setSample(1, j, {float(j) * 0.5f, 0.0f});
    }
}

std::string text(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

int entriesIn(const std::string& dir) {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        (void)entry;
        ++n;
    }
    return n;
}

mode_t modeOf(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

} // namespace

TEST(AtomicFile, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.file("good.dat");
    const std::string old = "the lab's good file\n";
    CMeasure m;
    fill(m, 4000);
    for (const NamedWriter& writer : WRITERS) {
        SCOPED_TRACE(writer.name);
        writeString(path, old);
        std::string why;
        bool written;
        {
            FileSizeLimit limit(1024);
            written = writer.write(m, path, &why);
        }
        EXPECT_FALSE(written);
        EXPECT_NE(why.find("File too large"), std::string::npos) << why;
        EXPECT_EQ(text(readBytes(path)), old);
        EXPECT_EQ(entriesIn(dir.path()), 1);
    }
    std::string why;
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(writeMeasure(m, path, FileType::Text, &why));
    }
    EXPECT_EQ(why, "cannot write " + path + ": File too large");
}

// A writer killed half-way (here by the file size limit's signal turned into
// SIGKILL) used to leave the target cut short.
TEST(AtomicFile, AWriterKilledHalfWayLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("good.INT");
    CMeasure old;
    fill(old, 100);
    ASSERT_TRUE(writeInt(old, path.c_str()));
    const std::vector<unsigned char> oldBytes = readBytes(path);
    pid_t child = fork();
    if (child == 0) {
        CMeasure big;
        fill(big, 1 << 20);
        rlimit small{rlim_t(1) << 20, rlim_t(1) << 20};
        std::signal(SIGXFSZ, [](int) { std::raise(SIGKILL); });
        ::setrlimit(RLIMIT_FSIZE, &small);
        writeInt(big, path.c_str());
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(readBytes(path), oldBytes);
    CMeasure back;
    std::string why;
    EXPECT_TRUE(readMeasure(back, path, FileType::Int, &why)) << why;
}

TEST(AtomicFile, ALinkKeepsPointingAtItsReplacedTargetWithItsPermissions) {
    TempDir dir;
    const std::string target = dir.file("data/run.TXT"), link = dir.file("run.TXT");
    writeString(target, "old\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    std::filesystem::create_symlink("data/run.TXT", link);
    CMeasure m;
    fill(m, 10);
    for (const NamedWriter& writer : WRITERS) {
        SCOPED_TRACE(writer.name);
        std::string why;
        ASSERT_TRUE(writer.write(m, link, &why)) << why;
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(modeOf(target), 0640u);
        EXPECT_GT(readBytes(target).size(), 4u);
        EXPECT_EQ(entriesIn(dir.file("data")), 1);
    }
}

// A new file gets what open() would give it under the umask, not the
// private mode of a temporary file.
TEST(AtomicFile, ANewFileGetsTheModeTheUmaskAllows) {
    TempDir dir;
    CMeasure m;
    fill(m, 10);
    for (mode_t mask : {mode_t(022), mode_t(077)}) {
        const std::string path = dir.file("new" + std::to_string(mask) + ".INT");
        mode_t saved = ::umask(mask);
        bool written = writeInt(m, path.c_str());
        ::umask(saved);
        ASSERT_TRUE(written);
        EXPECT_EQ(modeOf(path), 0666u & ~mask);
    }
}

// A FIFO as the target used to block the writer until something read it.
TEST(AtomicFile, WhatIsNotARegularFileIsRefusedWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.INT");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::symlink("pipe.INT", dir.file("to-pipe.TXT").c_str());
    for (const std::string& path : {fifo, dir.file("to-pipe.TXT"), dir.path()}) {
        SCOPED_TRACE(path);
        pid_t child = fork();
        if (child == 0) {
            alarm(10);
            CMeasure m;
            fill(m, 10);
            bool refused = true;
            for (const NamedWriter& writer : WRITERS) {
                std::string why;
                refused = refused && !writer.write(m, path, &why) && why == "not a regular file";
            }
            _exit(refused ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(entriesIn(dir.path()), 2);
}

TEST(AtomicFile, AWriteNeverCommittedLeavesTheTargetAlone) {
    TempDir dir;
    const std::string path = dir.file("kept.TXT");
    writeString(path, "kept\n");
    {
        AtomicFile file;
        ASSERT_TRUE(file.open(path));
        ASSERT_TRUE(file.write("new", 3));
        EXPECT_EQ(entriesIn(dir.path()), 2);
    }
    EXPECT_EQ(text(readBytes(path)), "kept\n");
    EXPECT_EQ(entriesIn(dir.path()), 1);

    std::string why;
    ASSERT_TRUE(replaceFile(path, "new\n", &why)) << why;
    EXPECT_EQ(text(readBytes(path)), "new\n");
    EXPECT_FALSE(replaceFile(dir.file("missing/x.TXT"), "x", &why));
    EXPECT_EQ(why, "No such file or directory");
}

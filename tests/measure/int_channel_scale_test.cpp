// Writing a calibration into an .INT file's channel description: the reader
// then scales the same counts with it, every other byte stays, and a layout
// that cannot carry the constant is refused untouched.
#include "measure/int_channel_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "measure/int_format.h"
#include "support/temp_dir.h"

namespace {

// A one-channel file of layout `code` (0, 3 or 4) holding the counts
// -100, 0 and 250, coefficient 0.5 and constant 1.
std::vector<unsigned char> countsFile(int8_t code) {
    ByteWriter w;
    w.put(10.0).put(uint8_t(1)).put(code).put(int32_t(3));
    if (code == 0) {
        for (int i = 0; i < 16; ++i)
            w.put(i == 0 ? 0.5 : 0.0);
    } else {
        w.put(uint32_t(0)).put(uint8_t(3)).text("cal", 60);
        w.put(0.5).put(uint8_t(1)).text("m", 7).put(uint8_t(5)).text("gauge", 40).put(1.0);
        w.put(0.0).put(0.0).put(0.0).put(0.0);
    }
    for (int16_t v : {-100, 0, 250})
        w.put(v);
    return w.bytes;
}

} // namespace

TEST(IntChannelScale, ReaderScalesTheSameCountsWithTheNewFields) {
    TempDir dir;
    for (int8_t code : {3, 4}) {
        const std::string path = dir.file("g.INT");
        writeBytes(path, countsFile(code));
        EXPECT_EQ(intSampleLayout(path), code);
        CMeasure before;
        ASSERT_TRUE(readInt(before, path.c_str()));
        EXPECT_FLOAT_EQ(before.value(0, 0), -49.0f);
        // Back to the counts through the file's own fields.
        std::vector<double> values{before.value(0, 0), before.value(0, 2)};
        ASSERT_TRUE(intCounts(values, before.channels[0], code, nullptr));
        EXPECT_DOUBLE_EQ(values[0], -100);
        EXPECT_DOUBLE_EQ(values[1], 250);
        std::string why;
        ASSERT_TRUE(writeIntChannelScale(path, 0, 0.002, -0.3, &why)) << why;
        CMeasure after;
        ASSERT_TRUE(readInt(after, path.c_str()));
        EXPECT_FLOAT_EQ(after.value(0, 0), float(0.002 * -100 - 0.3)) << int(code);
        EXPECT_FLOAT_EQ(after.value(0, 2), float(0.002 * 250 - 0.3)) << int(code);
        EXPECT_STREQ(after.channels[0].name, "gauge");
        EXPECT_EQ(readBytes(path).size(), countsFile(code).size());
        EXPECT_FALSE(writeIntChannelScale(path, 1, 0.002, -0.3, &why));
        EXPECT_EQ(why, path + ": has no channel 1");
    }
}

TEST(IntChannelScale, LayoutWithoutAConstantTakesOnlyACoefficient) {
    TempDir dir;
    const std::string path = dir.file("z.INT");
    writeBytes(path, countsFile(0));
    std::string why;
    EXPECT_FALSE(writeIntChannelScale(path, 0, 0.002, -0.3, &why));
    EXPECT_NE(why.find("applies no constant"), std::string::npos) << why;
    EXPECT_EQ(readBytes(path), countsFile(0));
    ASSERT_TRUE(writeIntChannelScale(path, 0, 0.002, 0.0, &why)) << why;
    CMeasure m;
    ASSERT_TRUE(readInt(m, path.c_str()));
    EXPECT_FLOAT_EQ(m.value(0, 2), 0.5f);
    std::vector<double> values{1.0};
    EXPECT_FALSE(intCounts(values, ChannelInfo{}, 4, &why));
}

namespace {

double coefficientIn(const std::string& path) {
    CMeasure m;
    return readInt(m, path.c_str()) ? m.channels[0].coefficient : NAN;
}

// Runs `body` as an unprivileged user when the test runs as root (who may
// write any file whatever its mode); its exit status is body's result.
bool asUnprivilegedUser(const std::function<bool()>& body) {
    if (geteuid() != 0) return body();
    const pid_t child = fork();
    if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 && body() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

// The patch writes the two fields into the file itself: another name of the
// file sees it, its mode stays, and bytes another program appended before it
// are kept.
TEST(IntChannelScale, PatchesTheFileInPlace) {
    TempDir dir;
    const std::string path = dir.file("g.INT"), other = dir.file("link.INT");
    writeBytes(path, countsFile(3));
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    std::FILE* appender = std::fopen(path.c_str(), "ab");
    ASSERT_NE(appender, nullptr);
    std::fputs("tail", appender);
    std::fflush(appender);
    std::string why;
    ASSERT_TRUE(writeIntChannelScale(path, 0, 0.002, -0.3, &why)) << why;
    std::fputs("more", appender);
    std::fclose(appender);
    EXPECT_DOUBLE_EQ(coefficientIn(other), 0.002);
    struct stat after;
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    const std::vector<unsigned char> bytes = readBytes(path);
    EXPECT_EQ(std::string(bytes.end() - 8, bytes.end()), "tailmore");
}

TEST(IntChannelScale, TargetThatCannotBeWrittenStaysAsItWas) {
    TempDir dir;
    const std::string path = dir.file("g.INT");
    writeBytes(path, countsFile(3));
    // Locked by another program: refused, not waited on.
    const int holder = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    std::string why;
    EXPECT_FALSE(writeIntChannelScale(path, 0, 0.002, -0.3, &why));
    EXPECT_EQ(why, path + ": is locked by another program");
    ::close(holder);
    // Read-only to the user, in a folder where anyone may create and rename.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(asUnprivilegedUser([&] {
        return !writeIntChannelScale(path, 0, 0.002, -0.3, &why) &&
               why.find("cannot be opened for writing") != std::string::npos;
    }));
    EXPECT_EQ(readBytes(path), countsFile(3));
    EXPECT_EQ(countEntries(dir.path()), 1);
    // A value that is not a number never reaches the file.
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_FALSE(writeIntChannelScale(path, 0, NAN, 0, &why));
    EXPECT_EQ(readBytes(path), countsFile(3));
}

#include "measure/measure_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace {

// Reads `path` in a child process that SIGALRM ends after 10 seconds, so a
// reader that blocks fails the test instead of hanging the suite. True when
// the read failed naming a file that is not a regular one.
bool refusedWithoutBlocking(const std::string& path, FileType type) {
    pid_t child = fork();
    if (child == 0) {
        alarm(10);
        CMeasure m;
        std::string why;
        bool read = readMeasure(m, path, type, &why);
        _exit(!read && why.find("not a regular file") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

// Opening a FIFO that nobody writes to used to wait forever; a directory
// read as a file too short for its header.
TEST(MeasureFile, EveryReaderRefusesWhatIsNotARegularFile) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.INT");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (FileType type : {FileType::Int, FileType::Text, FileType::Wave, FileType::M11,
                          FileType::Csv, FileType::Mat, FileType::Hdf5}) {
        EXPECT_TRUE(refusedWithoutBlocking(fifo, type)) << "FIFO as " << fileTypeName(type);
        EXPECT_TRUE(refusedWithoutBlocking(dir.path(), type))
            << "directory as " << fileTypeName(type);
    }
}

// Names and units as a measurement holds them (blanks at either end, empty,
// brackets, Windows-1250 letters) come back from every type that keeps names.
TEST(MeasureFile, NamesAndUnitsComeBackFromEveryTypeThatKeepsThem) {
    TempDir dir;
    CMeasure m;
    m.channelCount = 4;
    m.sampleCount = 50;
    m.sampleRate = 20.0;
    describePlainChannels(m);
    ASSERT_TRUE(m.allocateSamples());
    for (int r = 0; r < m.sampleCount; ++r)
        for (int c = 0; c < m.channelCount; ++c)
            m.setSample(c, r, Sample{float(r) * 0.5f + float(c), 0.0f});
    setChannelInfo(m.channels[0], 1.0, 0.0, "m", " gauge 1 ");
    setChannelInfo(m.channels[1], 1.0, 0.0, "", "");
    setChannelInfo(m.channels[2], 1.0, 0.0, "cm/s", "flap [raw] (x)");
    // "żuraw" and "ł" in Windows-1250.
    setChannelInfo(m.channels[3], 1.0, 0.0, "\xB3", "\xBFuraw");
    for (FileType type : {FileType::Int, FileType::Csv, FileType::Mat, FileType::Hdf5}) {
        const std::string path = dir.file(std::string("names.") + fileTypeName(type));
        std::string why;
        ASSERT_TRUE(writeMeasure(m, path, type, &why)) << fileTypeName(type) << ": " << why;
        CMeasure back;
        ASSERT_TRUE(readMeasure(back, path, type, &why)) << fileTypeName(type) << ": " << why;
        for (int c = 0; c < m.channelCount; ++c) {
            EXPECT_STREQ(back.channels[c].name, m.channels[c].name)
                << fileTypeName(type) << " channel " << c;
            EXPECT_STREQ(back.channels[c].unit, m.channels[c].unit)
                << fileTypeName(type) << " channel " << c;
        }
    }
}

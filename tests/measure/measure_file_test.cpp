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
    for (FileType type : {FileType::Int, FileType::Text, FileType::Wave, FileType::M11}) {
        EXPECT_TRUE(refusedWithoutBlocking(fifo, type)) << "FIFO as " << fileTypeName(type);
        EXPECT_TRUE(refusedWithoutBlocking(dir.path(), type))
            << "directory as " << fileTypeName(type);
    }
}

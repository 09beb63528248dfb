// The recovery copies on disk: what a copy keeps of a measurement, what a
// damaged one does, and which copies a new start may offer.
#include "shell/recovery_store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "measure/recovery_format.h"
#include "support/temp_dir.h"

namespace {

// Everything a window's measurement holds, none of it at a default: complex
// samples, a rate and a length no .INT carries, units, names, components.
std::unique_ptr<CMeasure> detailedMeasure() {
    auto m = std::make_unique<CMeasure>();
    m->channelCount = 3;
    m->sampleCount = 5000;
    m->sampleRate = 1.0e6;
    m->sampleFormat = SAMPLE_FORMAT_COMPLEX;
    m->date = packDosDate(2025, 11, 3, 14, 5, 30);
    copyField(m->path, sizeof m->path, "/flume/run 12.h5");
    copyField(m->name, sizeof m->name, "Run twelve");
    for (int c = 0; c < m->channelCount; ++c) {
        setChannelInfo(m->channels[c], 0.5 + c, -0.25 * c, "cm",
                       ("gauge " + std::to_string(c)).c_str());
        m->channels[c].reserved[2] = 7.0 + c;
        resetParameters(m->signalParameters[c]);
        m->signalParameters[c].level = 0.125 * c;
        SignalComponent wave{};
        copyField(wave.name, sizeof wave.name, "swell");
        wave.frequency = 0.7 + c;
        wave.amplitude = 0.03;
        wave.eta = -0.01;
        wave.k = 2.0;
        for (int k = 0; k <= c; ++k)
            appendComponent(m->signalParameters[c], wave);
    }
    m->allocateSamples();
    for (int j = 0; j < m->sampleCount; ++j)
        for (int c = 0; c < m->channelCount; ++c)
            m->setSample(c, j, Sample{float(std::sin(0.01 * j + c)), float(-0.5 * j)});
    return m;
}

void expectSameMeasure(const CMeasure& a, const CMeasure& b) {
    EXPECT_EQ(std::memcmp(static_cast<const CHeader*>(&a)->signalParameters, b.signalParameters,
                          sizeof(SignalParameters) * a.channelCount),
              0);
    EXPECT_EQ(std::memcmp(a.channels, b.channels, sizeof(ChannelInfo) * a.channelCount), 0);
    EXPECT_STREQ(a.path, b.path);
    EXPECT_STREQ(a.name, b.name);
    EXPECT_EQ(a.date, b.date);
    EXPECT_EQ(a.sampleRate, b.sampleRate);
    EXPECT_EQ(a.sampleFormat, b.sampleFormat);
    ASSERT_EQ(a.channelCount, b.channelCount);
    ASSERT_EQ(a.sampleCount, b.sampleCount);
    EXPECT_EQ(std::memcmp(a.blockBytes(), b.blockBytes(), size_t(a.sampleBytes())), 0);
}

// The id of a process that has ended (and been reaped).
long endedProcess() {
    pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return long(pid);
}

} // namespace

TEST(RecoveryFile, KeepsTheWholeMeasurementAndItsFileType) {
    TempDir tmp;
    auto m = detailedMeasure();
    // Zeroed memory beyond the strings: the comparison below is byte for byte.
    std::string why;
    ASSERT_TRUE(writeRecoveryFile(*m, FileType::Hdf5, tmp.file("copy"), &why)) << why;
    CMeasure back;
    FileType type = FileType::Int;
    ASSERT_TRUE(readRecoveryFile(back, &type, tmp.file("copy"), &why)) << why;
    EXPECT_EQ(type, FileType::Hdf5);
    expectSameMeasure(*m, back);
}

TEST(RecoveryFile, DamagedCopiesAreRefusedBeforeAllocating) {
    TempDir tmp;
    auto m = detailedMeasure();
    ASSERT_TRUE(writeRecoveryFile(*m, FileType::Int, tmp.file("good")));
    const std::vector<unsigned char> good = readBytes(tmp.file("good"));
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"cut in the samples", {good.begin(), good.end() - 9}});
    cases.push_back({"cut in the header", {good.begin(), good.begin() + 20}});
    cases.push_back({"empty", {}});
    std::vector<unsigned char> bytes = good;
    bytes.push_back(0);
    cases.push_back({"longer than its header says", bytes});
    bytes = good;
    bytes[7] = '2'; // another version of the layout
    cases.push_back({"other layout", bytes});
    bytes = good;
    bytes[17] = 0; // channel count
    cases.push_back({"no channel", bytes});
    bytes = good;
    bytes[17] = 65;
    cases.push_back({"65 channels", bytes});
    bytes = good;
    bytes[18] = 0xFF; // sample count 0xFF.. : negative
    bytes[19] = bytes[20] = bytes[21] = 0xFF;
    cases.push_back({"negative sample count", bytes});
    bytes = good;
    bytes[21] = 0x7F; // two billion rows the file does not hold
    cases.push_back({"huge sample count", bytes});
    bytes = good;
    std::memcpy(&bytes[8], "zip\0\0\0\0\0", 8);
    cases.push_back({"unknown file type", bytes});
    for (const Case& c : cases) {
        writeBytes(tmp.file("bad"), c.bytes);
        CMeasure back;
        FileType type;
        std::string why;
        EXPECT_FALSE(readRecoveryFile(back, &type, tmp.file("bad"), &why)) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
        EXPECT_FALSE(back.hasSamples()) << c.what;
    }
    // A component count past the table, in the last channel's parameters.
    bytes = good;
    const size_t countAt = 8 + 8 + 1 + 1 + 4 + 8 + 4 + 256 + 64 + 3 * 104 + 2 * 988 + 24;
    ASSERT_EQ(bytes[countAt], 3);
    bytes[countAt] = 11;
    writeBytes(tmp.file("bad"), bytes);
    CMeasure back;
    FileType type;
    std::string why;
    EXPECT_FALSE(readRecoveryFile(back, &type, tmp.file("bad"), &why));
    EXPECT_NE(why.find("component count"), std::string::npos) << why;
}

TEST(RecoveryFile, AMeasurementWithoutSamplesIsNotWritten) {
    TempDir tmp;
    CMeasure empty;
    std::string why;
    EXPECT_FALSE(writeRecoveryFile(empty, FileType::Int, tmp.file("copy"), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(countEntries(tmp.path()), 0);
}

TEST(RecoveryStore, FolderFollowsTheStateHome) {
    const char* oldState = std::getenv("XDG_STATE_HOME");
    const std::string savedState = oldState ? oldState : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_STATE_HOME", "/xdg/state", 1);
    EXPECT_EQ(recoveryFolder(), "/xdg/state/ondarix");
    ::setenv("XDG_STATE_HOME", "relative/state", 1); // not absolute: ignored
    EXPECT_EQ(recoveryFolder(), "/home/someone/.local/state/ondarix");
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(recoveryFolder(), "/home/someone/.local/state/ondarix");
    ::unsetenv("HOME");
    EXPECT_EQ(recoveryFolder(), "");
    if (oldState) ::setenv("XDG_STATE_HOME", savedState.c_str(), 1);
    ::setenv("HOME", savedHome.c_str(), 1);
}

// Each window of each program has a copy of its own; the folder is made
// (private to the user) on the first copy.
TEST(RecoveryStore, WindowsAndProgramsNeverShareACopy) {
    TempDir tmp;
    const std::string folder = tmp.file("state/ondarix");
    RecoveryStore one(folder, {4242, 100});
    RecoveryStore other(folder, {4242, 200}); // a later program given the same id
    EXPECT_NE(one.entryPath(1), one.entryPath(2));
    EXPECT_NE(one.entryPath(1), other.entryPath(1));
    auto m = detailedMeasure();
    std::string why;
    ASSERT_TRUE(one.write(1, *m, FileType::Int, &why)) << why;
    ASSERT_TRUE(other.write(1, *m, FileType::Int, &why)) << why;
    EXPECT_EQ(countEntries(folder), 2);
    struct stat info;
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    one.remove(1);
    EXPECT_EQ(countEntries(folder), 1);
    EXPECT_FALSE(readString(other.entryPath(1)).empty());
}

// Only copies whose program has ended are offered: not those of this running
// program, but those of an ended one, also when its id went to another.
TEST(RecoveryStore, OrphansAreTheCopiesOfEndedPrograms) {
    TempDir tmp;
    auto m = detailedMeasure();
    const ProcessTag self = currentProcess();
    ASSERT_TRUE(processRunning(self));
    const ProcessTag ended{endedProcess(), 12345};
    EXPECT_FALSE(processRunning(ended));
    const ProcessTag reused{self.pid, self.start + 1};
    EXPECT_FALSE(processRunning(reused));

    RecoveryStore mine(tmp.path(), self);
    ASSERT_TRUE(mine.write(1, *m, FileType::Int, nullptr));
    ASSERT_TRUE(RecoveryStore(tmp.path(), ended).write(3, *m, FileType::Int, nullptr));
    ASSERT_TRUE(RecoveryStore(tmp.path(), reused).write(2, *m, FileType::Int, nullptr));
    // Not copies: a copy set aside, a name of another pattern, a folder.
    writeString(tmp.file("1-2-3.recovery.unreadable"), "x");
    writeString(tmp.file("notes.recovery"), "x");
    writeString(tmp.file(".1-2-3.recovery.tmp"), "x");
    writeString(tmp.file("9-9-9.recovery/inside"), "x");

    std::vector<RecoveryEntry> found = mine.orphans();
    ASSERT_EQ(found.size(), 2u);
    for (const RecoveryEntry& entry : found) {
        EXPECT_TRUE(entry.owner.pid == ended.pid || entry.owner.start == reused.start);
        EXPECT_GT(entry.written, 0);
        CMeasure back;
        FileType type;
        EXPECT_TRUE(readRecoveryFile(back, &type, entry.path));
    }

    // Taken over, a copy is this program's and offered no more.
    ASSERT_TRUE(mine.adopt(found[0], 7));
    EXPECT_FALSE(mine.adopt(found[0], 8)); // gone: someone took it first
    EXPECT_EQ(mine.orphans().size(), 1u);
    EXPECT_FALSE(readString(mine.entryPath(7)).empty());
    const std::string aside = setAsideRecoveryEntry(found[1]);
    EXPECT_EQ(aside, found[1].path + ".unreadable");
    EXPECT_TRUE(mine.orphans().empty());
}

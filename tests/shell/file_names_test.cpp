// The shared file name of the file dialogs, the help file's place and the
// bounded formatter.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "shell/file_name_buffer.h"
#include "shell/format_text.h"
#include "shell/help_file.h"
#include "support/temp_dir.h"

TEST(FileNameBufferTest, CutsAMeasurementExtensionOfAnyCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"/d/run.INT", "/d/run"},
        {"/d/run.txt", "/d/run"},
        {"a.Wav", "a"},
        {"/d/run.m11", "/d/run"},
        {"/d/run.dat", "/d/run.dat"},
        {".INT", ".INT"}, // shorter than 5 characters: kept
        {"/d/run.INT.bak", "/d/run.INT.bak"},
        {"", ""},
    };
    for (const auto& [before, after] : cases) {
        FileNameBuffer name;
        name.set(before);
        name.cutMeasureExtension();
        EXPECT_STREQ(name.get(), after) << before;
    }
}

TEST(FileNameBufferTest, KeepsAtMost511Bytes) {
    FileNameBuffer name;
    name.set(std::string(600, 'x'));
    EXPECT_EQ(std::strlen(name.get()), 511u);
}

// The manual is found where the build tree and an installed prefix put it.
TEST(HelpFileTest, FindsTheManualBesideTheProgramOrInItsPrefix) {
    TempDir dir;
    const std::string program = dir.file("bin/ondarix");
    writeString(program, "");
    EXPECT_EQ(findHelpFile(program), "") << "nothing installed";

    const std::string installed = dir.file("bin/../share/ondarix/ondarix-manual.html");
    writeString(dir.file("share/ondarix/ondarix-manual.html"), "<html></html>");
    EXPECT_EQ(findHelpFile(program), installed);

    // A build tree keeps it beside the executable, and that copy is newer.
    writeString(dir.file("bin/ondarix-manual.html"), "<html></html>");
    EXPECT_EQ(findHelpFile(program), dir.file("bin/ondarix-manual.html"));
}

TEST(HelpFileTest, ADirectoryOfTheManualsNameIsNoManual) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("bin/ondarix-manual.html"));
    EXPECT_EQ(findHelpFile(dir.file("bin/ondarix")), "");
}

TEST(FormatTextTest, ReportsACutAndAlwaysTerminates) {
    char buffer[8];
    EXPECT_FALSE(formatText(buffer, sizeof buffer, "%d", 1234567));
    EXPECT_STREQ(buffer, "1234567");
    EXPECT_TRUE(formatText(buffer, sizeof buffer, "%d", 12345678));
    EXPECT_STREQ(buffer, "1234567");
    EXPECT_TRUE(formatText(buffer, 1, "x"));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(formatText(buffer, sizeof buffer, "%.10g", 0.5));
    EXPECT_STREQ(buffer, "0.5");
}

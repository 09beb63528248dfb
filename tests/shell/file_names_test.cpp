// The shared file name of the file dialogs, the help file's place and the
// bounded formatter.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/file_name_buffer.h"
#include "shell/format_text.h"
#include "shell/help_file.h"

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

TEST(HelpFileTest, LivesBesideTheExecutable) {
    EXPECT_EQ(helpFilePath("/opt/ondarix/bin/ondarix"), "/opt/ondarix/bin/ONDAR32.HLP");
    EXPECT_EQ(helpFilePath("/ondarix"), "/ONDAR32.HLP");
    EXPECT_EQ(helpFilePath("ondarix"), "ONDAR32.HLP");
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

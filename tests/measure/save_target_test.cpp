// Which file a save writes and in which format: the chosen name's measurement
// extension wins, a missing one comes from the dialog's type.
#include <gtest/gtest.h>

#include "measure/save_target.h"

TEST(SaveTarget, NameAndTypeDecideTogether) {
    struct Case {
        const char* chosen;
        FileType type;
        const char* path;
        FileType written;
        bool refused;
    } cases[] = {
        {"/d/run", FileType::Text, "/d/run.TXT", FileType::Text, false},
        {"/d/run", FileType::Int, "/d/run.INT", FileType::Int, false},
        {"/d/run.txt", FileType::Int, "/d/run.txt", FileType::Text, false},
        {"/d/run.M11", FileType::Text, "/d/run.M11", FileType::M11, false},
        {"/d/run.dat", FileType::Text, "/d/run.dat", FileType::Text, false},
        {"/d/run.wav", FileType::Int, "/d/run.wav", FileType::Wave, true},
        // A dot in a directory or a leading dot is no extension.
        {"/d.v2/run", FileType::M11, "/d.v2/run.M11", FileType::M11, false},
        {"/d/.run", FileType::Int, "/d/.run.INT", FileType::Int, false},
    };
    for (const Case& c : cases) {
        SaveTarget t = saveTarget(c.chosen, c.type);
        EXPECT_EQ(t.path, c.path) << c.chosen;
        EXPECT_EQ(t.type, c.written) << c.chosen;
        EXPECT_EQ(!t.refusal.empty(), c.refused) << c.chosen;
    }
}

TEST(SaveTarget, BlocksAreTextUnderATextName) {
    EXPECT_EQ(blockSaveTarget("/d/block").path, "/d/block.TXT");
    EXPECT_TRUE(blockSaveTarget("/d/block.txt").refusal.empty());
    EXPECT_TRUE(blockSaveTarget("/d/block.dat").refusal.empty());
    EXPECT_FALSE(blockSaveTarget("/d/block.INT").refusal.empty());
    // A CSV is a measurement of its own, not a block's text.
    EXPECT_FALSE(blockSaveTarget("/d/block.csv").refusal.empty());
}

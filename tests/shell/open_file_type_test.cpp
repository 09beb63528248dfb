// The reader of a file chosen in the open dialog: its extension first, the
// dialog's type only for a name the program does not know.
#include <gtest/gtest.h>

#include "shell/file_name_buffer.h"
#include "shell/open_file_type.h"

TEST(OpenFileTypeTest, AKnownExtensionWinsOverTheSelectedType) {
    const struct {
        const char* path;
        int filterIndex;
        FileType type;
    } cases[] = {
        {"/d/run.TXT", 1, FileType::Text},
        {"/d/run.txt", 1, FileType::Text},
        {"/d/run.Int", 3, FileType::Int},
        {"/d/flap.m11", 4, FileType::M11},
        {"/d/sound.WAV", 2, FileType::Wave},
        {"/d/run.TXT", 8, FileType::Text},
        {"/d/run.csv", 1, FileType::Csv},
        {"/d/run.MAT", 1, FileType::Mat},
        {"/d/run.H5", 1, FileType::Hdf5},
        {"/d/run.hdf5", 3, FileType::Hdf5},
        // Unknown or no extension: the selected type, "All files" as .INT.
        {"/d/run.dat", 3, FileType::Text},
        {"/d/run.dat", 2, FileType::M11},
        {"/d/run.dat", 4, FileType::Wave},
        {"/d/run.dat", 5, FileType::Csv},
        {"/d/run.dat", 6, FileType::Mat},
        {"/d/run.dat", 7, FileType::Hdf5},
        {"/d/run.dat", 8, FileType::Int},
        {"/d/run", 3, FileType::Text},
        {"/d.TXT/run", 1, FileType::Int},
        {"/d/run.", 3, FileType::Text},
    };
    for (const auto& c : cases)
        EXPECT_EQ(openFileType(c.filterIndex, c.path), c.type) << c.path << " " << c.filterIndex;
}

// The dialog lists the rows with an open filter in the table's order; the
// position of each decides the reader of a name the program does not know,
// and the saved name's measurement extension is cut from the proposed name.
TEST(OpenFileTypeTest, TheDialogsPositionsAndExtensionsAreTheTables) {
    int position = 0;
    for (const FileTypeRow& row : fileTypeRows()) {
        if (*row.openFilter) {
            EXPECT_EQ(openFileType(++position, "/d/run.dat"), row.id) << row.name;
        }
        for (const std::string& extension : row.extensions) {
            EXPECT_EQ(openFileType(position + 1, "/d/run." + extension), row.id) << extension;
            FileNameBuffer name;
            name.set("/d/run." + extension);
            name.cutMeasureExtension();
            EXPECT_STREQ(name.get(), "/d/run") << extension;
        }
    }
    // "All files" follows the types, then "All measurements"; a name the
    // program does not know reads as .INT in both.
    EXPECT_EQ(openFileType(position + 1, "/d/run.dat"), FileType::Int);
    EXPECT_EQ(allMeasurementsFilterIndex(), position + 2);
    EXPECT_EQ(openFileType(position + 2, "/d/run.dat"), FileType::Int);
    EXPECT_EQ(openFileType(position + 2, "/d/run.mat"), FileType::Mat);
}

// Every extension the open dialog's types know, so no measurement is hidden.
TEST(OpenFileTypeTest, AllMeasurementsNamesEveryExtension) {
    EXPECT_EQ(allMeasurementsFilter(),
              "All measurements (*.INT *.M11 *.TXT *.WAV *.csv *.mat *.h5 *.hdf5)");
}

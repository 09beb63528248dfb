// The file types come from one table: each row is found by its name and
// extensions, a row without a writer is refused in one wording everywhere,
// and the MIME file is the table's.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>

#include "measure/measure_file.h"
#include "measure/save_target.h"
#include "support/temp_dir.h"

namespace {

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

TEST(FileTypeTable, EveryRowIsFoundByItsNameAndExtensions) {
    std::set<std::string> names;
    for (const FileTypeRow& row : fileTypeRows()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " named twice";
        EXPECT_EQ(&fileTypeRow(row.id), &row) << row.name;
        EXPECT_STREQ(fileTypeName(row.id), row.name);
        FileType named = FileType::Int;
        ASSERT_TRUE(fileTypeFromName(row.name, named)) << row.name;
        EXPECT_EQ(named, row.id) << row.name;
        ASSERT_FALSE(row.extensions.empty()) << row.name;
        for (const std::string& extension : row.extensions) {
            EXPECT_EQ(fileTypeFromPath("/d/run." + extension), row.id) << extension;
            EXPECT_EQ(fileTypeFromPath("/d/run." + lowerCase(extension)), row.id) << extension;
            EXPECT_EQ(saveTarget("/d/run." + extension, FileType::Int).type, row.id) << extension;
        }
        EXPECT_NE(fileTypeNameList(false).find(row.name), std::string::npos) << row.name;
        EXPECT_EQ(fileTypeNameList(true).find(row.name) != std::string::npos, row.write != nullptr)
            << row.name;
    }
    // Unknown or missing extensions read as .INT, as the dialog's "All files" does.
    EXPECT_EQ(fileTypeFromPath("/d/run.dat"), FileType::Int);
    EXPECT_EQ(fileTypeFromPath("/d.txt/run"), FileType::Int);
}

TEST(FileTypeTable, ATypeWithoutWriterIsRefusedInOneWordingBeforeWriting) {
    TempDir dir;
    CMeasure m;
    ASSERT_TRUE(readMeasure(m, SAMPLE_FILE, FileType::Int, nullptr));
    for (const FileTypeRow& row : fileTypeRows()) {
        std::string path = dir.file("out." + row.extensions.front());
        std::string why;
        bool written = writeMeasure(m, path, row.id, &why);
        struct stat st;
        EXPECT_EQ(written, ::stat(path.c_str(), &st) == 0) << row.name;
        EXPECT_EQ(written, row.write != nullptr) << row.name << ": " << why;
        if (row.write) continue;
        EXPECT_EQ(why, cannotWriteText(row));
        EXPECT_EQ(saveTarget(dir.file("x." + row.extensions.front()), FileType::Int).refusal,
                  cannotWriteText(row));
        EXPECT_NE(why.find(extensionList(true)), std::string::npos) << why;
    }
}

TEST(FileTypeTable, TheMimeFileIsGeneratedFromTheRows) {
    std::string xml = mimeInfoXml();
    for (const FileTypeRow& row : fileTypeRows()) {
        bool listed = xml.find(std::string("type=\"") + row.mimeType + "\"") != std::string::npos;
        EXPECT_EQ(listed, *row.mimeType != '\0') << row.name;
        for (const std::string& extension : row.extensions)
            EXPECT_EQ(xml.find("\"*." + lowerCase(extension) + "\"") != std::string::npos, listed)
                << extension;
    }
    std::ifstream installed(ONDARIX_MIME_XML);
    ASSERT_TRUE(installed) << ONDARIX_MIME_XML << " (built by the mime-info target)";
    std::stringstream text;
    text << installed.rdbuf();
    EXPECT_EQ(xml, text.str());
}

TEST(FileTypeTable, TheSaveDialogsPositionsPickTheWritableRows) {
    int position = 0;
    for (const FileTypeRow& row : fileTypeRows()) {
        if (!*row.saveFilter) continue;
        EXPECT_TRUE(row.write) << row.name << " offered for saving without a writer";
        EXPECT_EQ(saveFileType(++position), row.id) << row.name;
        EXPECT_EQ(saveTarget("/d/run", saveFileType(position)).path,
                  "/d/run." + row.extensions.front());
    }
    EXPECT_EQ(saveFileType(position + 1), FileType::Int);
}

#include "shell/registry_key.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const KEY = "Software\\KELVO\\Ondarix\\3.0";

bool saveOneValue(const std::string& root) {
    RegistryKey key(root);
    return key.createKey(KEY) && key.setInt("n", 7) && key.closeKey();
}

} // namespace

// A store kept elsewhere (a dotfiles repository, say) and linked into place.
TEST(StoreFile, SaveWritesThroughASymbolicLinkToItsTarget) {
    TempDir tmp;
    std::string target = tmp.file("dotfiles/ondarix.reg");
    writeString(target, "\"kept\"=dword:00000001\n");
    ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
    std::string link = tmp.file("config/KELVO/Ondarix/3.0.reg");
    std::filesystem::create_directories(tmp.file("config/KELVO/Ondarix"));
    ASSERT_EQ(::symlink("../../../dotfiles/ondarix.reg", link.c_str()), 0);

    ASSERT_TRUE(saveOneValue(tmp.file("config")));
    struct stat info;
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(readString(target), "\"kept\"=dword:00000001\n\"n\"=dword:00000007\n");
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(countEntries(tmp.file("config/KELVO/Ondarix")), 1); // nothing beside the link
}

// A save killed between creating its temporary file and the rename leaves
// that file behind; the next save removes it, and nothing else.
TEST(StoreFile, SaveRemovesTemporariesOfKilledSaves) {
    TempDir tmp;
    std::string dir = tmp.file("KELVO/Ondarix");
    writeString(dir + "/3.0.reg", "\"kept\"=dword:00000001\n");
    writeString(dir + "/3.0.reg.aB3xYz", "Windows Registry Editor Version 5.00\n\"half");
    writeString(dir + "/3.0.reg.Q9w2E1", "");
    writeString(dir + "/3.0.reg.tmp.backup", ""); // our own pattern, whatever its letters
    // A user's copies keep their names even when six letters long.
    const char* others[] = {"3.0.reg.bak",    "3.0.reg.aB3xYz.old", "2.0.reg.aB3xYz",
                            "3.0.reg.backup", "3.0.reg.BACKUP",     "3.0.reg.copy01",
                            "notes.txt"};
    for (const char* name : others)
        writeString(dir + "/" + name, "the user's");
    std::filesystem::create_directories(dir + "/3.0.reg.Dir123"); // not a file of ours

    ASSERT_TRUE(saveOneValue(tmp.path()));
    EXPECT_FALSE(std::filesystem::exists(dir + "/3.0.reg.aB3xYz"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/3.0.reg.Q9w2E1"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/3.0.reg.tmp.backup"));
    for (const char* name : others)
        EXPECT_EQ(readString(dir + "/" + name), "the user's") << name;
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/3.0.reg.Dir123"));
    EXPECT_EQ(readString(dir + "/3.0.reg"), "\"kept\"=dword:00000001\n\"n\"=dword:00000007\n");
}

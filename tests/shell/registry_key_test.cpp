#include "shell/registry_key.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

const char* const KEY = "Software\\KELVO\\Ondarix\\3.0";

uint64_t bitsOf(double d) {
    uint64_t b;
    std::memcpy(&b, &d, 8);
    return b;
}

// ASCII text as UTF-16LE, the encoding of a registry export.
std::string utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

// A store file under `root` holding the given value lines.
void storeLines(const std::string& root, const std::string& lines) {
    writeString(root + "/KELVO/Ondarix/3.0.reg", lines);
}

} // namespace

TEST(RegistryKey, KeyPathMapsIntoTheConfigurationDirectory) {
    EXPECT_EQ(keyFilePath("/home/u/.config", KEY), "/home/u/.config/KELVO/Ondarix/3.0.reg");
    EXPECT_EQ(keyFilePath("/home/u/.config/", "SOFTWARE\\A"), "/home/u/.config/A.reg");
    EXPECT_EQ(keyFilePath("/r", "Software\\..\\x"), "");
    EXPECT_EQ(keyFilePath("/r", "Software\\a\\\\b"), "");
    EXPECT_EQ(keyFilePath("/r", "Software\\a/b"), "");
    EXPECT_EQ(keyFilePath("", KEY), "");
}

TEST(RegistryKey, SettingsRootFollowsXdgThenHome) {
    std::string oldXdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    bool hadXdg = std::getenv("XDG_CONFIG_HOME") != nullptr;
    std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/xdg/conf", 1);
    EXPECT_EQ(settingsRoot(), "/xdg/conf");
    ::setenv("XDG_CONFIG_HOME", "relative/conf", 1); // not absolute: ignored by the XDG rules
    EXPECT_EQ(settingsRoot(), "/home/someone/.config");
    if (hadXdg)
        ::setenv("XDG_CONFIG_HOME", oldXdg.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", oldHome.c_str(), 1);
}

TEST(RegistryKey, OpenFailsUntilCreatedAndClosed) {
    TempDir tmp;
    std::string root = tmp.path() + "/not/yet";
    RegistryKey key(root);
    EXPECT_FALSE(key.openKey(KEY));
    ASSERT_TRUE(key.createKey(KEY));
    EXPECT_TRUE(key.setInt("n", 7));
    ASSERT_TRUE(key.closeKey());
    ASSERT_TRUE(key.openKey(KEY));
    int32_t n = 0;
    EXPECT_TRUE(key.queryInt("n", n));
    EXPECT_EQ(n, 7);
    EXPECT_FALSE(key.setInt("n", 8)); // opened for reading only
}

TEST(RegistryKey, MissingValueLeavesVariable) {
    TempDir tmp;
    storeLines(tmp.path(), "\"other\"=dword:00000001\n");
    RegistryKey key(tmp.path());
    ASSERT_TRUE(key.openKey(KEY));
    int32_t i = 123;
    double d = 4.5;
    EXPECT_FALSE(key.queryInt("absent", i));
    EXPECT_FALSE(key.queryDouble("absent", d));
    EXPECT_EQ(i, 123);
    EXPECT_EQ(d, 4.5);
}

TEST(RegistryKey, ValueOfTheOtherTypeIsReadByteForByte) {
    TempDir tmp;
    // 0.1 is 0x3fb999999999999a; 5 as a dword is 05 00 00 00.
    storeLines(tmp.path(), "\"d\"=hex:9a,99,99,99,99,99,b9,3f\n\"i\"=dword:00000005\n"
                           "\"short\"=hex:34,12\n\"empty\"=hex:\n");
    RegistryKey key(tmp.path());
    ASSERT_TRUE(key.openKey(KEY));

    int32_t fromDouble = 0;
    EXPECT_TRUE(key.queryInt("d", fromDouble)); // the first four bytes only
    EXPECT_EQ(uint32_t(fromDouble), 0x9999999au);

    double fromDword = 0.001;
    EXPECT_TRUE(key.queryDouble("i", fromDword)); // low four bytes replaced, high four kept
    EXPECT_EQ(bitsOf(fromDword), (bitsOf(0.001) & 0xffffffff00000000ull) | 5u);

    int32_t fromShort = 0x7f7f7f7f;
    EXPECT_TRUE(key.queryInt("short", fromShort));
    EXPECT_EQ(fromShort, 0x7f7f1234);

    int32_t fromEmpty = 9;
    EXPECT_TRUE(key.queryInt("EMPTY", fromEmpty)); // names ignore case, as in a registry
    EXPECT_EQ(fromEmpty, 9);
}

TEST(RegistryKey, ClampsLetNanThrough) {
    TempDir tmp;
    RegistryKey key(tmp.path());
    ASSERT_TRUE(key.createKey(KEY));
    key.setDouble("nan", std::numeric_limits<double>::quiet_NaN());
    key.setDouble("minf", -std::numeric_limits<double>::infinity());
    key.setDouble("pinf", std::numeric_limits<double>::infinity());
    key.setInt("big", 7);
    key.setInt("low", -7);
    ASSERT_TRUE(key.closeKey());
    ASSERT_TRUE(key.openKey(KEY));
    double d = 1.0;
    key.queryDouble("nan", d, 0.0, 99.9);
    EXPECT_TRUE(std::isnan(d));
    key.queryDouble("minf", d, 0.0, 99.9);
    EXPECT_EQ(d, 0.0);
    key.queryDouble("pinf", d, 0.0, 99.9);
    EXPECT_EQ(d, 99.9);
    int32_t i = 0;
    key.queryInt("big", i, 0, 3);
    EXPECT_EQ(i, 3);
    key.queryInt("low", i, 0, 3);
    EXPECT_EQ(i, 0);
}

TEST(RegistryKey, DoublesKeepEveryBit) {
    TempDir tmp;
    const double values[] = {0.1, -0.0, 1e-300, 5e-324, 1.7976931348623157e308};
    RegistryKey key(tmp.path());
    ASSERT_TRUE(key.createKey(KEY));
    for (int i = 0; i < 5; ++i)
        key.setDouble("v" + std::to_string(i), values[i]);
    key.setInt("neg", -2);
    ASSERT_TRUE(key.closeKey());
    EXPECT_NE(readString(tmp.path() + "/KELVO/Ondarix/3.0.reg").find("\"neg\"=dword:fffffffe\n"),
              std::string::npos);
    ASSERT_TRUE(key.openKey(KEY));
    for (int i = 0; i < 5; ++i) {
        double d = 42.0;
        key.queryDouble("v" + std::to_string(i), d);
        EXPECT_EQ(bitsOf(d), bitsOf(values[i])) << i;
    }
}

TEST(RegistryKey, CloseMergesIntoTheCurrentFile) {
    TempDir tmp;
    RegistryKey first(tmp.path());
    RegistryKey second(tmp.path());
    ASSERT_TRUE(first.createKey(KEY));
    ASSERT_TRUE(second.createKey(KEY));
    first.setInt("a", 1);
    second.setInt("b", 2);
    ASSERT_TRUE(first.closeKey());
    ASSERT_TRUE(second.closeKey()); // must not drop what the first wrote meanwhile
    ASSERT_TRUE(first.openKey(KEY));
    int32_t a = 0, b = 0;
    EXPECT_TRUE(first.queryInt("a", a));
    EXPECT_TRUE(first.queryInt("b", b));
    EXPECT_EQ(a + 10 * b, 21);
}

TEST(RegistryKey, CreateRefusesWhatItCannotUse) {
    TempDir tmp;
    // The store path is a directory: it cannot be read, so it must not be overwritten.
    std::string store = tmp.path() + "/KELVO/Ondarix/3.0.reg";
    std::filesystem::create_directories(store);
    RegistryKey key(tmp.path());
    EXPECT_FALSE(key.createKey(KEY));
    EXPECT_FALSE(key.openKey(KEY));
    // A file where a directory should be.
    TempDir other;
    writeString(other.path() + "/KELVO", "x");
    RegistryKey blocked(other.path());
    EXPECT_FALSE(blocked.createKey(KEY));
    EXPECT_FALSE(blocked.setInt("a", 1));
}

// A registry export as the system writes it: UTF-16LE after the mark FF FE,
// CR LF line ends. Its values load, and a save writes it back in UTF-16LE
// with only the changed value's line rewritten and the new one added.
TEST(RegistryKey, Utf16ExportLoadsAndIsWrittenBackAsUtf16) {
    const std::string mark = "\xff\xfe";
    const std::string head = utf16("Windows Registry Editor Version 5.00\r\n\r\n"
                                   "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                                   "\"KalmanModel\"=dword:00000001\r\n"
                                   "\"czas_narastania\"=dword:00000063\r\n"
                                   "\r\n"
                                   "[HKEY_CURRENT_USER\\Software\\KELVO\\Ondarix\\3.0]\r\n"
                                   "@=\"\"\r\n"
                                   "\"note\"=\"Przep") +
                             std::string("\x42\x01", 2) /* U+0142 */ + utf16("yw\"\r\n");
    // 0.05 as an IEEE 754 double, little-endian.
    const std::string period = utf16("\"okres_probkowania\"=hex:9a,99,99,99,99,99,a9,3f\r\n");
    TempDir tmp;
    storeLines(tmp.path(), mark + head + utf16("\"KalmanModel\"=dword:00000002\r\n") + period);

    RegistryKey key(tmp.path());
    ASSERT_TRUE(key.openKey(KEY));
    int32_t model = 0, rise = 5;
    double sampling = 0;
    EXPECT_TRUE(key.queryInt("KalmanModel", model));
    EXPECT_EQ(model, 2);
    EXPECT_TRUE(key.queryDouble("okres_probkowania", sampling));
    EXPECT_EQ(sampling, 0.05);
    EXPECT_FALSE(key.queryInt("czas_narastania", rise)); // it belongs to another key
    EXPECT_EQ(rise, 5);

    ASSERT_TRUE(key.createKey(KEY));
    key.setInt("KalmanModel", 3);
    key.setInt("czas_narastania", 7);
    ASSERT_TRUE(key.closeKey());
    EXPECT_EQ(readString(tmp.path() + "/KELVO/Ondarix/3.0.reg"),
              mark + head + utf16("\"KalmanModel\"=dword:00000003\r\n") + period +
                  utf16("\"czas_narastania\"=dword:00000007\r\n"));
}

#include "shell/key_store.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace {

const char* const KEY = "Software\\KELVO\\Ondarix\\3.0";

std::vector<uint8_t> bytesOf(const KeyStore& store, const char* name) {
    const StoredValue* v = store.find(name);
    return v ? v->data : std::vector<uint8_t>{};
}

} // namespace

TEST(KeyStore, ReadsDwordAndBinaryLines) {
    KeyStore store;
    store.parse("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\X]\n"
                "\"a\"=dword:0000002a\n"
                "\"b\"=hex:9a,99,99,99,99,99,b9,3f\n",
                "Software\\X");
    ASSERT_EQ(store.values().size(), 2u);
    EXPECT_EQ(store.find("a")->type, REG_VALUE_DWORD);
    EXPECT_EQ(bytesOf(store, "a"), (std::vector<uint8_t>{0x2a, 0, 0, 0})); // little-endian 42
    EXPECT_EQ(store.find("b")->type, REG_VALUE_BINARY);
    EXPECT_EQ(bytesOf(store, "b"), (std::vector<uint8_t>{0x9a, 0x99, 0x99, 0x99, 0x99, 0x99, 0xb9,
                                                         0x3f})); // 0.1 as IEEE 754
}

TEST(KeyStore, DamagedLinesAreSkippedAndGoodOnesKept) {
    std::string text = "\"good1\"=dword:00000001\n"
                       "garbage without quotes\n"
                       "\"trunc\"=hex:9a,9\n"       // half a byte
                       "\"comma\"=hex:9a,99,\n"     // ends in a separator
                       "\"long\"=dword:123456789\n" // nine digits
                       "\"open=dword:00000001\n"    // unterminated name
                       "\"=dword:00000001\n"        // empty name
                       "\"text\"=\"a string\"\n"    // a type this store does not hold
                       "\"x\"=dword:zz\n";
    text += std::string("\0\x01\xff\xfe binary\n", 12);
    text += "\"huge\"=hex:" + std::string(3 * STORE_MAX_LINE, 'a') + "\n"; // absurdly long
    text += "\"good2\"=hex:01,02\r\n";
    KeyStore store;
    store.parse(text, KEY);
    ASSERT_EQ(store.values().size(), 2u);
    EXPECT_EQ(bytesOf(store, "good1"), (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(bytesOf(store, "good2"), (std::vector<uint8_t>{1, 2}));
}

TEST(KeyStore, ContinuedLinesAndCaseInsensitiveNames) {
    KeyStore store;
    store.parse("\"Wrapped\"=hex(7):41,00,\\\r\n  42,00,\\\r\n  00,00\r\n\"wrapped\"=hex:07\n",
                KEY);
    // A later line of the same name, in another case, replaces the first.
    ASSERT_EQ(store.values().size(), 1u);
    EXPECT_EQ(store.find("WRAPPED")->type, REG_VALUE_BINARY);
    EXPECT_EQ(bytesOf(store, "wrapped"), (std::vector<uint8_t>{7}));

    store.parse("\"Wrapped\"=hex(7):41,00,\\\r\n  42,00,\\\r\n  00,00\r\n", KEY);
    EXPECT_EQ(store.find("Wrapped")->type, 7u);
    EXPECT_EQ(bytesOf(store, "Wrapped"), (std::vector<uint8_t>{0x41, 0, 0x42, 0, 0, 0}));
}

TEST(KeyStore, SerialiseParsesBackToTheSameValues) {
    KeyStore store;
    store.parse("", KEY);
    std::vector<uint8_t> longValue(100);
    for (size_t i = 0; i < longValue.size(); ++i)
        longValue[i] = uint8_t(i * 7);
    uint8_t dword[4] = {5, 0, 0, 0x80};
    ASSERT_TRUE(store.set("quote\"and\\slash", REG_VALUE_DWORD, dword, 4));
    ASSERT_TRUE(store.set("long", REG_VALUE_BINARY, longValue.data(), longValue.size()));
    ASSERT_TRUE(store.set("multi", 7, longValue.data(), 3));
    ASSERT_TRUE(store.set("empty", REG_VALUE_BINARY, nullptr, 0));
    EXPECT_FALSE(store.set("new\nline", REG_VALUE_DWORD, dword, 4));

    std::string text = store.serialise();
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\KELVO\\Ondarix\\3.0]\n"), std::string::npos);
    EXPECT_NE(text.find("\"quote\\\"and\\\\slash\"=dword:80000005\n"), std::string::npos);
    KeyStore back;
    back.parse(text, KEY);
    ASSERT_EQ(back.values().size(), store.values().size());
    for (size_t i = 0; i < store.values().size(); ++i) {
        EXPECT_EQ(back.values()[i].name, store.values()[i].name);
        EXPECT_EQ(back.values()[i].type, store.values()[i].type);
        EXPECT_EQ(back.values()[i].data, store.values()[i].data);
    }
}

TEST(KeyStore, ReadFileTellsMissingFromUnreadable) {
    TempDir tmp;
    KeyStore store;
    EXPECT_EQ(store.readFile(tmp.path() + "/none.reg", KEY), StoreRead::Missing);
    EXPECT_EQ(store.readFile(tmp.path(), KEY), StoreRead::Unreadable); // a directory
    std::string fifo = tmp.path() + "/fifo.reg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(store.readFile(fifo, KEY), StoreRead::Unreadable); // and does not block
}

TEST(KeyStore, WriteReplacesFileAndLeavesNoTemporary) {
    TempDir tmp;
    std::string path = tmp.path() + "/3.0.reg";
    writeString(path, "old\n");
    KeyStore store;
    uint8_t one[4] = {1, 0, 0, 0};
    store.set("a", REG_VALUE_DWORD, one, 4);
    ASSERT_TRUE(store.writeFile(path));
    EXPECT_EQ(readString(path), store.serialise());
    EXPECT_EQ(countEntries(tmp.path()), 1);
}

TEST(KeyStore, FailedWriteKeepsOldFileAndRemovesTemporary) {
    TempDir tmp;
    std::string path = tmp.path() + "/3.0.reg";
    const std::string old = "\"keep\"=dword:00000001\n";
    writeString(path, old);
    KeyStore store;
    std::vector<uint8_t> big(STORE_MAX_VALUE_BYTES, 0xab);
    store.set("big", REG_VALUE_BINARY, big.data(), big.size());

    // A file size limit makes the write fail part-way, as a full disk would.
    rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    SaveStatus written = store.writeFile(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_NE(written.reason.find("File too large"), std::string::npos) << written.reason;
    EXPECT_EQ(readString(path), old);
    EXPECT_EQ(countEntries(tmp.path()), 1);
}

TEST(KeyStore, FailedRenameRemovesTemporary) {
    TempDir tmp;
    std::string path = tmp.path() + "/3.0.reg";
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0); // something that is not a file is in the way
    KeyStore store;
    EXPECT_FALSE(store.writeFile(path));
    EXPECT_EQ(countEntries(tmp.path()), 1);
}

// A save rewrites only the lines of values it changed in its own key; every
// other line, of this key or another, comes back byte for byte.
TEST(KeyStoreKeeps, ForeignLinesAndOtherSections) {
    const std::string head = "Windows Registry Editor Version 5.00\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\Other]\n"
                             "\"shared\"=dword:00000063\n"
                             "\"path\"=\"C:\\\\data\"\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\KELVO\\Ondarix\\3.0]\n"
                             "@=\"default text\"\n"
                             "; a comment someone wrote\n"
                             "\"title\"=\"Flume 2\"\n";
    const std::string tail = "\n"
                             "[HKEY_CURRENT_USER\\Software\\Third]\n"
                             "\"x\"=hex:ff\n";
    const std::string before = head + "\"a\"=dword:0000000a\n\"b\"=hex:0A,0B\n" + tail;
    KeyStore store;
    ASSERT_TRUE(store.parse(before, KEY));
    EXPECT_EQ(store.serialise(), before);
    EXPECT_EQ(store.find("shared"), nullptr); // another key's value is not ours
    EXPECT_EQ(store.values().size(), 2u);

    uint8_t seven[4] = {7, 0, 0, 0};
    uint8_t sameB[2] = {0x0a, 0x0b};
    ASSERT_TRUE(store.set("A", REG_VALUE_DWORD, seven, 4));
    ASSERT_TRUE(store.set("b", REG_VALUE_BINARY, sameB, 2)); // unchanged: line kept as written
    ASSERT_TRUE(store.set("shared", REG_VALUE_DWORD, seven, 4));
    EXPECT_EQ(store.serialise(), head + "\"a\"=dword:00000007\n\"b\"=hex:0A,0B\n" +
                                     "\"shared\"=dword:00000007\n" + tail);
}

TEST(KeyStoreKeeps, ManyValuesAndLongLines) {
    const std::string longLine = "\"long\"=\"" + std::string(2 * STORE_MAX_LINE, 'x') + "\"\n";
    std::string text = longLine;
    char line[64];
    for (unsigned i = 0; i < 1100; ++i) {
        std::snprintf(line, sizeof line, "\"v%u\"=dword:%08x\n", i, i);
        text += line;
    }
    KeyStore store;
    ASSERT_TRUE(store.parse(text, KEY));
    EXPECT_EQ(store.values().size(), 1100u);
    EXPECT_EQ(bytesOf(store, "v1099"), (std::vector<uint8_t>{0x4b, 0x04, 0, 0})); // 1099 = 0x44b

    uint8_t nine[4] = {9, 0, 0, 0};
    ASSERT_TRUE(store.set("v1099", REG_VALUE_DWORD, nine, 4));
    std::string expected = text;
    expected.replace(expected.find("\"v1099\"=dword:0000044b"), 22, "\"v1099\"=dword:00000009");
    EXPECT_EQ(store.serialise(), expected);
}

TEST(KeyStoreKeeps, NewValuesGoIntoTheKeyNotAnotherOne) {
    KeyStore store;
    // No section of our key yet: it is added after the others.
    ASSERT_TRUE(store.parse("[HKEY_CURRENT_USER\\Software\\Other]\r\n\"o\"=dword:00000001", KEY));
    uint8_t one[4] = {1, 0, 0, 0};
    store.set("n", REG_VALUE_DWORD, one, 4);
    EXPECT_EQ(store.serialise(), "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"o\"=dword:00000001\r\n"
                                 "\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\KELVO\\Ondarix\\3.0]\r\n"
                                 "\"n\"=dword:00000001\r\n");
}

TEST(KeyStoreKeeps, AnEmptyUtf16FileStaysUtf16) {
    KeyStore store;
    ASSERT_TRUE(store.parse("\xff\xfe", KEY));
    EXPECT_EQ(store.encoding(), StoreEncoding::Utf16le);
    uint8_t one[4] = {1, 0, 0, 0};
    store.set("n", REG_VALUE_DWORD, one, 4);
    std::string text = "Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_CURRENT_USER\\Software\\KELVO\\Ondarix\\3.0]\n\"n\"=dword:00000001\n";
    std::string expected = "\xff\xfe";
    for (char c : text)
        expected += std::string{c, '\0'};
    EXPECT_EQ(store.serialise(), expected);
    // A UTF-16BE file could not be written back in step: it is not taken.
    EXPECT_FALSE(store.parse("\xfe\xff", KEY));
}

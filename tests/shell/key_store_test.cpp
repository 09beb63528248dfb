#include "shell/key_store.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace {

std::vector<uint8_t> bytesOf(const KeyStore& store, const char* name) {
    const StoredValue* v = store.find(name);
    return v ? v->data : std::vector<uint8_t>{};
}

} // namespace

TEST(KeyStore, ReadsDwordAndBinaryLines) {
    KeyStore store;
    store.parse("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\X]\n"
                "\"a\"=dword:0000002a\n"
                "\"b\"=hex:9a,99,99,99,99,99,b9,3f\n");
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
    store.parse(text);
    ASSERT_EQ(store.values().size(), 2u);
    EXPECT_EQ(bytesOf(store, "good1"), (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(bytesOf(store, "good2"), (std::vector<uint8_t>{1, 2}));
}

TEST(KeyStore, ValueCountIsBounded) {
    std::string text;
    for (size_t i = 0; i < STORE_MAX_VALUES + 50; ++i)
        text += "\"v" + std::to_string(i) + "\"=dword:00000001\n";
    KeyStore store;
    store.parse(text);
    EXPECT_EQ(store.values().size(), STORE_MAX_VALUES);
}

TEST(KeyStore, ContinuedLinesAndCaseInsensitiveNames) {
    KeyStore store;
    store.parse("\"Wrapped\"=hex(7):41,00,\\\r\n  42,00,\\\r\n  00,00\r\n\"wrapped\"=hex:07\n");
    // A later line of the same name, in another case, replaces the first.
    ASSERT_EQ(store.values().size(), 1u);
    EXPECT_EQ(store.find("WRAPPED")->type, REG_VALUE_BINARY);
    EXPECT_EQ(bytesOf(store, "wrapped"), (std::vector<uint8_t>{7}));

    store.parse("\"Wrapped\"=hex(7):41,00,\\\r\n  42,00,\\\r\n  00,00\r\n");
    EXPECT_EQ(store.find("Wrapped")->type, 7u);
    EXPECT_EQ(bytesOf(store, "Wrapped"), (std::vector<uint8_t>{0x41, 0, 0x42, 0, 0, 0}));
}

TEST(KeyStore, SerialiseParsesBackToTheSameValues) {
    KeyStore store;
    std::vector<uint8_t> longValue(100);
    for (size_t i = 0; i < longValue.size(); ++i)
        longValue[i] = uint8_t(i * 7);
    uint8_t dword[4] = {5, 0, 0, 0x80};
    ASSERT_TRUE(store.set("quote\"and\\slash", REG_VALUE_DWORD, dword, 4));
    ASSERT_TRUE(store.set("long", REG_VALUE_BINARY, longValue.data(), longValue.size()));
    ASSERT_TRUE(store.set("multi", 7, longValue.data(), 3));
    ASSERT_TRUE(store.set("empty", REG_VALUE_BINARY, nullptr, 0));
    EXPECT_FALSE(store.set("new\nline", REG_VALUE_DWORD, dword, 4));

    std::string text = store.serialise("Software\\KELVO\\Ondarix\\3.0");
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\KELVO\\Ondarix\\3.0]\n"), std::string::npos);
    EXPECT_NE(text.find("\"quote\\\"and\\\\slash\"=dword:80000005\n"), std::string::npos);
    KeyStore back;
    back.parse(text);
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
    EXPECT_EQ(store.readFile(tmp.path() + "/none.reg"), StoreRead::Missing);
    EXPECT_EQ(store.readFile(tmp.path()), StoreRead::Unreadable); // a directory
    std::string fifo = tmp.path() + "/fifo.reg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(store.readFile(fifo), StoreRead::Unreadable); // and does not block
}

TEST(KeyStore, WriteReplacesFileAndLeavesNoTemporary) {
    TempDir tmp;
    std::string path = tmp.path() + "/3.0.reg";
    writeString(path, "old\n");
    KeyStore store;
    uint8_t one[4] = {1, 0, 0, 0};
    store.set("a", REG_VALUE_DWORD, one, 4);
    ASSERT_TRUE(store.writeFile(path, "K"));
    EXPECT_EQ(readString(path), store.serialise("K"));
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
    bool written = store.writeFile(path, "K");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readString(path), old);
    EXPECT_EQ(countEntries(tmp.path()), 1);
}

TEST(KeyStore, FailedRenameRemovesTemporary) {
    TempDir tmp;
    std::string path = tmp.path() + "/3.0.reg";
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0); // something that is not a file is in the way
    KeyStore store;
    EXPECT_FALSE(store.writeFile(path, "K"));
    EXPECT_EQ(countEntries(tmp.path()), 1);
}

#include "measure/riff_reader.h"

#include "file_test_support.h"

namespace {

Bytes chunk(const char* id, const Bytes& data, uint32_t declared) {
    Bytes b;
    append(b, id);
    append(b, declared, 4);
    append(b, data);
    if (data.size() % 2) b.push_back(0); // pad byte
    return b;
}
Bytes chunk(const char* id, const Bytes& data) {
    return chunk(id, data, uint32_t(data.size()));
}
Bytes list(const char* id, const char* form, const Bytes& children) {
    Bytes body;
    append(body, form);
    append(body, children);
    return chunk(id, body);
}

// RIFF "TEST" { "odd " (3 bytes), LIST "INFO" { "name" }, "last" }, then "past" outside it.
Bytes sampleFile() {
    Bytes inner;
    append(inner, chunk("odd ", {1, 2, 3}));
    append(inner, list("LIST", "INFO", chunk("name", {'a', 'b', 'c', 'd'})));
    append(inner, chunk("last", {7, 8}));
    Bytes file = list("RIFF", "TEST", inner);
    append(file, chunk("past", {9}));
    return file;
}

} // namespace

TEST(RiffReader, DescendsByIdAndFormAscendsAndReadsData) {
    ScratchFile file(".riff");
    file.write(sampleFile());
    RiffReader riff;
    ASSERT_TRUE(riff.open(file.path()));
    RiffChunk top, info, name, last;
    EXPECT_FALSE(riff.descend(top, nullptr, riffId("RIFF"), riffId("WAVE")));
    ASSERT_TRUE(riff.descend(top, nullptr, riffId("RIFF"), riffId("TEST")));
    EXPECT_EQ(top.formType, riffId("TEST"));
    // The odd-sized first chunk is skipped with its pad byte.
    ASSERT_TRUE(riff.descend(info, &top, riffId("LIST"), riffId("INFO")));
    ASSERT_TRUE(riff.descend(name, &info, riffId("name")));
    char text[8] = {};
    EXPECT_EQ(riff.read(name, 1, text, sizeof text), 3);
    EXPECT_STREQ(text, "bcd");
    riff.ascend(info);
    ASSERT_TRUE(riff.descend(last, &top, riffId("last")));
    unsigned char data[4] = {};
    EXPECT_EQ(riff.read(last, 0, data, 4), 2);
    EXPECT_EQ(data[1], 8);
    // A chunk after the RIFF chunk is not inside it, and the search never goes back.
    RiffChunk other;
    EXPECT_FALSE(riff.descend(other, &top, riffId("past")));
    EXPECT_FALSE(riff.descend(other, &top, riffId("odd ")));
    riff.ascend(top);
    EXPECT_TRUE(riff.descend(other, nullptr, riffId("past")));
}

TEST(RiffReader, DeclaredSizesAreClampedToParentAndFile) {
    Bytes inner = chunk("big ", {1, 2, 3, 4}, 1000); // claims more than the RIFF holds
    append(inner, chunk("next", {5, 6}));
    Bytes file = list("RIFF", "TEST", inner);
    pokeDouble(file, file.size(), 0.0); // 8 bytes after the RIFF chunk
    ScratchFile scratch(".riff");
    scratch.write(file);
    RiffReader riff;
    ASSERT_TRUE(riff.open(scratch.path()));
    RiffChunk top, big;
    ASSERT_TRUE(riff.descend(top, nullptr, riffId("RIFF")));
    ASSERT_TRUE(riff.descend(big, &top, riffId("big ")));
    EXPECT_EQ(big.size, 1000u);
    EXPECT_EQ(big.available, 4 + 10); // up to the RIFF's end, not into the bytes after it
    unsigned char buffer[2000];
    EXPECT_EQ(riff.read(big, 0, buffer, sizeof buffer), 14);
    EXPECT_EQ(riff.read(big, 14, buffer, 1), 0);
    EXPECT_EQ(riff.read(big, -1, buffer, 1), 0);
    riff.ascend(big); // past the declared end: nothing more in this parent
    RiffChunk next;
    EXPECT_FALSE(riff.descend(next, &top, riffId("next")));
}

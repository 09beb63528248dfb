#include "measure/text_encoding.h"

#include <gtest/gtest.h>

// The Windows-1250 bytes below are taken from the code page chart, letter by
// letter: ą B9, ć E6, ę EA, ł B3, ń F1, ó F3, ś 9C, ź 9F, ż BF, Ż AF.
TEST(TextEncoding, PolishLettersGoToWindows1250AndBack) {
    std::string bytes;
    ASSERT_TRUE(toFileEncoding("Zażółć gęślą jaźń Ż", bytes));
    EXPECT_EQ(bytes, "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xAF");
    EXPECT_EQ(displayText(bytes.c_str()), "Zażółć gęślą jaźń Ż");
}

TEST(TextEncoding, CharactersWithoutAWindows1250FormAreReported) {
    std::string bytes;
    EXPECT_FALSE(toFileEncoding("a→b", bytes)); // U+2192 is not in the code page
    EXPECT_EQ(bytes, "a?b");
    EXPECT_FALSE(toFileEncoding("x\xFFy", bytes)); // not UTF-8 at all
    EXPECT_EQ(bytes, "x?y");
    EXPECT_FALSE(toFileEncoding(std::string("a\0b", 3), bytes)); // a NUL would end the field
    EXPECT_TRUE(toFileEncoding("€ 20", bytes));                  // 0x80 in the code page
    EXPECT_EQ(bytes, "\x80 20");
}

TEST(TextEncoding, DisplayLengthCountsCharactersNotBytes) {
    EXPECT_EQ(displayLength("Prędkość"), 8u); // 11 bytes
    EXPECT_EQ(displayLength("gauge"), 5u);
    EXPECT_EQ(displayLength("€"), 1u); // 3 bytes
    EXPECT_EQ(displayLength(""), 0u);
}

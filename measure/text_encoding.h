// Names in measurement files are byte fields. Files from acquisition PCs often
// carry Windows-1250 bytes, and so does every name the program keeps in memory:
// everything shown or printed goes out as UTF-8, everything typed comes in
// through toFileEncoding.
#pragma once

#include <string>

bool isValidUtf8(const char* text, size_t length);

// The bytes as UTF-8: unchanged when they already are valid UTF-8, otherwise
// read as Windows-1250.
std::string displayText(const char* bytes);
// Text a file holds, for a message: at most `limit` bytes of `text` (of
// `length`) cut at a whole character, "..." when cut, control bytes such as
// NUL as '?', shown as displayText shows it. A 100 MB line of a damaged file
// must not fill a message box.
std::string messageText(const char* text, size_t length, size_t limit = 60);

// UTF-8 text as Windows-1250 bytes, the encoding names are kept in. Returns
// false when a character has no Windows-1250 form (or the text is not valid
// UTF-8); each such character, or invalid byte, then stands as '?' in `bytes`.
bool toFileEncoding(const std::string& utf8, std::string& bytes);

// How many characters a UTF-8 display string shows (what padding to a column
// width counts), not how many bytes it takes.
size_t displayLength(const std::string& utf8);

// Puts a UTF-8 name read from a file into a fixed name field of `capacity`
// bytes: as Windows-1250 when it has that form (as typed names are kept),
// otherwise as UTF-8 cut at a character boundary.
void copyNameField(char* field, int capacity, const std::string& utf8);

// UTF-16, the text MATLAB keeps, as UTF-8 (a lone surrogate as U+FFFD), and
// back (a byte that is not UTF-8 as U+FFFD).
std::string utf16ToUtf8(const std::u16string& text);
std::u16string utf8ToUtf16(const std::string& utf8);

// Names in measurement files are byte fields. Files from acquisition PCs often
// carry Windows-1250 bytes; everything shown or printed goes out as UTF-8.
#pragma once

#include <string>

bool isValidUtf8(const char* text, size_t length);

// The bytes as UTF-8: unchanged when they already are valid UTF-8, otherwise
// read as Windows-1250.
std::string displayText(const char* bytes);

// How the bytes of a store file map to the text its lines are parsed from.
// Registry exports are usually UTF-16LE with the byte order mark FF FE; any
// other file is read byte for byte, as UTF-8 or an ANSI code page.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class StoreEncoding { Bytes, Utf16le, Unsupported };

// The encoding of a file that starts with `bytes`, and the size of its byte
// order mark (kept apart from the first line). A UTF-16BE or UTF-32 mark is
// Unsupported: such a file is neither read nor rewritten.
StoreEncoding detectEncoding(const std::string& bytes, size_t& markSize);

// Cuts `bytes` from `from` into lines, each with its own line end, so that
// joining them gives the bytes back exactly.
std::vector<std::string> splitLines(const std::string& bytes, size_t from, StoreEncoding encoding);

// One raw line as UTF-8 text without its line end. UTF-16 that pairs no
// surrogate keeps it as a three-byte sequence, so encodeText gives it back.
std::string decodeLine(const std::string& raw, StoreEncoding encoding);

// UTF-8 text in the file's encoding.
std::string encodeText(const std::string& text, StoreEncoding encoding);

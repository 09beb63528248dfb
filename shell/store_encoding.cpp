#include "shell/store_encoding.h"

#include <cstdint>

namespace {

const size_t UNIT = 2; // bytes of a UTF-16 code unit

uint32_t unitAt(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8;
}

void appendUnit(std::string& out, uint32_t unit) {
    out.push_back(char(unit & 0xff));
    out.push_back(char(unit >> 8));
}

bool isHighSurrogate(uint32_t u) {
    return u >= 0xd800 && u <= 0xdbff;
}

bool isLowSurrogate(uint32_t u) {
    return u >= 0xdc00 && u <= 0xdfff;
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xc0 | cp >> 6));
        out.push_back(char(0x80 | (cp & 0x3f)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xe0 | cp >> 12));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3f)));
        out.push_back(char(0x80 | (cp & 0x3f)));
    } else {
        out.push_back(char(0xf0 | cp >> 18));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3f)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3f)));
        out.push_back(char(0x80 | (cp & 0x3f)));
    }
}

// The code point starting at `at`, advancing `at`; U+FFFD for a byte that
// starts no valid sequence. Surrogates are let through (see decodeLine).
uint32_t nextCodePoint(const std::string& s, size_t& at) {
    uint8_t lead = uint8_t(s[at++]);
    if (lead < 0x80) return lead;
    size_t extra = lead >= 0xf0 && lead < 0xf5 ? 3 : lead >= 0xe0 ? 2 : lead >= 0xc2 ? 1 : 0;
    if (lead >= 0xf5) extra = 0;
    if (extra == 0 || at + extra > s.size()) return 0xfffd;
    uint32_t cp = lead & (0x3f >> extra);
    for (size_t i = 0; i < extra; ++i) {
        uint8_t c = uint8_t(s[at + i]);
        if ((c & 0xc0) != 0x80) return 0xfffd;
        cp = cp << 6 | (c & 0x3f);
    }
    at += extra;
    return cp;
}

std::string stripLineEnd(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

} // namespace

StoreEncoding detectEncoding(const std::string& bytes, size_t& markSize) {
    markSize = 0;
    if (bytes.compare(0, 4, std::string("\xff\xfe\0\0", 4)) == 0 ||
        bytes.compare(0, 4, std::string("\0\0\xfe\xff", 4)) == 0 ||
        bytes.compare(0, 2, "\xfe\xff") == 0)
        return StoreEncoding::Unsupported;
    if (bytes.compare(0, 2, "\xff\xfe") == 0) {
        markSize = UNIT;
        return StoreEncoding::Utf16le;
    }
    return StoreEncoding::Bytes;
}

std::vector<std::string> splitLines(const std::string& bytes, size_t from, StoreEncoding encoding) {
    std::vector<std::string> lines;
    size_t step = encoding == StoreEncoding::Utf16le ? UNIT : 1;
    size_t start = from;
    for (size_t at = from; at + step <= bytes.size(); at += step) {
        bool newline = step == 1 ? bytes[at] == '\n' : unitAt(bytes, at) == '\n';
        if (!newline) continue;
        lines.push_back(bytes.substr(start, at + step - start));
        start = at + step;
    }
    // The last line may lack its line end (or, in UTF-16, half a code unit).
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

std::string decodeLine(const std::string& raw, StoreEncoding encoding) {
    if (encoding != StoreEncoding::Utf16le) return stripLineEnd(raw);
    std::string text;
    for (size_t at = 0; at + UNIT <= raw.size(); at += UNIT) {
        uint32_t unit = unitAt(raw, at);
        if (isHighSurrogate(unit) && at + 2 * UNIT <= raw.size() &&
            isLowSurrogate(unitAt(raw, at + UNIT))) {
            uint32_t low = unitAt(raw, at + UNIT);
            appendUtf8(text, 0x10000 + ((unit - 0xd800) << 10) + (low - 0xdc00));
            at += UNIT;
        } else {
            appendUtf8(text, unit);
        }
    }
    return stripLineEnd(text);
}

std::string encodeText(const std::string& text, StoreEncoding encoding) {
    if (encoding != StoreEncoding::Utf16le) return text;
    std::string out;
    for (size_t at = 0; at < text.size();) {
        uint32_t cp = nextCodePoint(text, at);
        if (cp < 0x10000) {
            appendUnit(out, cp);
        } else {
            cp -= 0x10000;
            appendUnit(out, 0xd800 + (cp >> 10));
            appendUnit(out, 0xdc00 + (cp & 0x3ff));
        }
    }
    return out;
}

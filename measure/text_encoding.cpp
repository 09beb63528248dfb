#include "measure/text_encoding.h"

#include <algorithm>
#include <cstring>

#include "measure/measure.h"

namespace {

// Windows-1250 code points of bytes 0x80..0xFF; 0xFFFD where the code page
// defines nothing.
constexpr char16_t CP1250[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | cp >> 6);
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | cp >> 12);
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | cp >> 18);
        out += char(0x80 | (cp >> 12 & 0x3F));
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Decodes the code point at `p`, moving past it; false (moving one byte) when
// the bytes there are not valid UTF-8.
bool nextCodePoint(const unsigned char*& p, const unsigned char* end, char32_t& cp) {
    unsigned char c = *p++;
    size_t more;
    if (c < 0x80) {
        cp = c;
        return true;
    } else if (c >= 0xC2 && c <= 0xDF) {
        more = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        more = 2;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        more = 3;
        cp = c & 0x07;
    } else {
        return false;
    }
    if (size_t(end - p) < more) return false;
    for (size_t k = 0; k < more; ++k)
        if ((p[k] & 0xC0) != 0x80) return false;
    for (size_t k = 0; k < more; ++k)
        cp = cp << 6 | (p[k] & 0x3F);
    p += more;
    return true;
}

// The Windows-1250 byte of a code point, or 0 when it has none.
unsigned char cp1250Byte(char32_t cp) {
    if (cp < 0x80) return static_cast<unsigned char>(cp);
    for (int i = 0; i < 128; ++i)
        if (CP1250[i] != 0xFFFD && CP1250[i] == cp) return static_cast<unsigned char>(0x80 + i);
    return 0;
}

} // namespace

bool isValidUtf8(const char* text, size_t length) {
    auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + length;
    char32_t cp;
    while (p < end)
        if (!nextCodePoint(p, end, cp)) return false;
    return true;
}

std::string displayText(const char* bytes) {
    size_t length = std::strlen(bytes);
    if (isValidUtf8(bytes, length)) return std::string(bytes, length);
    std::string out;
    out.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        appendUtf8(out, c < 0x80 ? char32_t(c) : char32_t(CP1250[c - 0x80]));
    }
    return out;
}

bool toFileEncoding(const std::string& utf8, std::string& bytes) {
    auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const unsigned char* end = p + utf8.size();
    bool complete = true;
    bytes.clear();
    while (p < end) {
        char32_t cp = 0;
        unsigned char b = nextCodePoint(p, end, cp) ? cp1250Byte(cp) : 0;
        // U+0000 is no name character either: a NUL would end the field.
        if (b == 0) {
            b = '?';
            complete = false;
        }
        bytes += char(b);
    }
    return complete;
}

size_t displayLength(const std::string& utf8) {
    size_t n = 0;
    for (char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

void copyNameField(char* field, int capacity, const std::string& utf8) {
    std::string bytes;
    if (toFileEncoding(utf8, bytes)) {
        copyField(field, capacity, bytes.c_str());
        return;
    }
    size_t n = std::min(utf8.size(), size_t(capacity - 1));
    while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80)
        --n;
    copyField(field, int(n + 1), utf8.c_str());
}

std::string utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        const bool high = cp >= 0xD800 && cp < 0xDC00;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (cp >= 0xD800 && cp < 0xE000)
            cp = 0xFFFD;
        appendUtf8(out, cp);
    }
    return out;
}

std::u16string utf8ToUtf16(const std::string& utf8) {
    std::u16string out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const unsigned char* end = p + utf8.size();
    while (p < end) {
        char32_t cp;
        if (!nextCodePoint(p, end, cp)) cp = 0xFFFD;
        if (cp >= 0x10000) {
            out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

std::string messageText(const char* text, size_t length, size_t limit) {
    size_t n = std::min(length, limit);
    while (n > 0 && n < length && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n; // a whole character
    std::string part(text, n);
    for (char& c : part)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return displayText(part.c_str()) + (n < length ? "..." : "");
}

#include "measure/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

int formatE(char* out, double value, int width) {
    char digits[32];
    int n;
    if (std::isnan(value)) {
        // printf spells NaN "nan" or "-nan" by its sign bit
        n = std::signbit(value) ? 4 : 3;
        std::memcpy(digits, std::signbit(value) ? "-nan" : "nan", n);
    } else {
        auto res =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 6);
        n = int(res.ptr - digits);
    }
    int pad = width > n ? width - n : 0;
    std::memset(out, ' ', pad);
    std::memcpy(out + pad, digits, n);
    return pad + n;
}

void appendE(std::string& text, double value, int width) {
    char buf[64];
    int n = formatE(buf, value, width);
    text.append(buf, n);
}

static bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

static bool startsWithNoCase(const char* p, const char* end, const char* word) {
    for (; *word; ++p, ++word) {
        if (p == end || (*p | 0x20) != *word) return false;
    }
    return true;
}

// Infinity and NaN words, which from_chars also reads but only without a sign.
static const char* parseSpecial(const char* p, const char* end, bool negative, float* out) {
    if (startsWithNoCase(p, end, "nan")) {
        *out = negative ? -NAN : NAN;
        return p + 3;
    }
    if (startsWithNoCase(p, end, "inf")) {
        *out = negative ? -INFINITY : INFINITY;
        return startsWithNoCase(p, end, "infinity") ? p + 8 : p + 3;
    }
    return nullptr;
}

static const char* parseOne(const char* p, const char* end, float* out) {
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end) return nullptr;
    if (const char* q = parseSpecial(p, end, negative, out)) return q;
    if (*p == '+' || *p == '-') return nullptr;
    float value = 0.0f;
    auto res = std::from_chars(p, end, value, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument) return nullptr;
    if (res.ec == std::errc::result_out_of_range) {
        // strtof gives +-HUGE_VAL on overflow and a tiny or zero value on underflow
        double wide = std::strtod(std::string(p, res.ptr).c_str(), nullptr);
        value = float(wide);
    }
    *out = negative ? -value : value;
    return res.ptr;
}

int parseFloats(const char* begin, const char* end, float* out, int max) {
    const char* p = begin;
    int count = 0;
    while (count < max) {
        while (p != end && isSpace(*p))
            ++p;
        const char* next = parseOne(p, end, &out[count]);
        if (!next) break;
        p = next;
        ++count;
    }
    return count;
}

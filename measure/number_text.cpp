#include "measure/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
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

// Whether a number text too large or too small for a double is too large:
// the decimal exponent of its first significant digit decides.
static bool isHuge(const char* p, const char* end) {
    int64_t order = 0; // of the first significant digit, before the exponent
    bool significant = false, point = false;
    for (; p != end && (std::isdigit(static_cast<unsigned char>(*p)) || *p == '.'); ++p) {
        if (*p == '.') {
            point = true;
        } else if (!point) {
            if (significant)
                ++order;
            else
                significant = *p != '0';
        } else if (!significant) {
            --order;
            significant = *p != '0';
        }
    }
    if (!significant) return false;
    int64_t exponent = 0;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negative = p != end && *p == '-';
        if (p != end && (*p == '-' || *p == '+')) ++p;
        for (; p != end && std::isdigit(static_cast<unsigned char>(*p)); ++p)
            exponent = std::min<int64_t>(exponent * 10 + (*p - '0'), int64_t(1) << 40);
        if (negative) exponent = -exponent;
    }
    return order + exponent > 0;
}

void outOfRangeValue(const char* begin, const char* end, double& value) {
    const bool negative = begin != end && *begin == '-';
    const char* digits = negative || (begin != end && *begin == '+') ? begin + 1 : begin;
    value = isHuge(digits, end) ? HUGE_VAL : 0.0;
    if (negative) value = -value;
}

void outOfRangeValue(const char* begin, const char* end, float& value) {
    // Within a double's range the double rounds to the float strtof gives.
    double wide = 0;
    auto res = std::from_chars(begin, end, wide);
    if (res.ec == std::errc::result_out_of_range) outOfRangeValue(begin, end, wide);
    value = float(wide);
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
    if (res.ec == std::errc::result_out_of_range) outOfRangeValue(p, res.ptr, value);
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

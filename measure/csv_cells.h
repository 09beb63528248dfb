// The lines and cells of CSV text held in memory, and cells as numbers: the
// inner loop of the CSV reader, kept inline for its speed.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include "measure/number_text.h"

namespace csv {

struct Span {
    const char* begin;
    const char* end;
    bool empty() const { return begin == end; }
    std::string text() const { return std::string(begin, end); }
};

inline bool isBlankChar(char c, char delimiter) {
    return c == ' ' || c == '\r' || (c == '\t' && delimiter != '\t');
}

inline bool isBlank(Span line) {
    for (const char* p = line.begin; p < line.end; ++p)
        if (!isBlankChar(*p, 0)) return false;
    return true;
}

inline bool isComment(Span line) {
    const char* p = line.begin;
    while (p < line.end && isBlankChar(*p, 0))
        ++p;
    return p < line.end && *p == '#';
}

// Lines of a file held in memory, LF or CR LF, numbered from 1.
class Lines {
  public:
    Lines(const char* begin, const char* end, int64_t number = 0)
        : at_(begin), end_(end), number_(number) {}
    bool next(Span& line) {
        if (at_ >= end_) return false;
        auto* newline = static_cast<const char*>(std::memchr(at_, '\n', size_t(end_ - at_)));
        const char* stop = newline ? newline : end_;
        line = {at_, stop > at_ && stop[-1] == '\r' ? stop - 1 : stop};
        at_ = newline ? newline + 1 : end_;
        ++number_;
        return true;
    }
    int64_t number() const { return number_; }
    // Where the next line starts.
    const char* position() const { return at_; }

  private:
    const char* at_;
    const char* end_;
    int64_t number_;
};

// The cells of one line. Blanks around a cell are dropped; a quoted cell
// loses its quotes ("" inside stands for one). With ' ' as the delimiter,
// any run of blanks separates cells.
class Cells {
  public:
    Cells(Span line, char delimiter) : at_(line.begin), end_(line.end), delimiter_(delimiter) {}
    bool next(Span& cell) {
        if (done_) return false;
        skipBlanks();
        if (delimiter_ == ' ' && at_ == end_) return false;
        quoted_ = false;
        const char* stop = at_ < end_ && *at_ == '"' ? quoted(cell) : plain(cell);
        if (stop >= end_) {
            done_ = true;
        } else {
            at_ = stop + 1;
        }
        return true;
    }

    // Whether the last cell was quoted (and so kept its blanks).
    bool quoted() const { return quoted_; }

  private:
    void skipBlanks() {
        while (at_ < end_ && isBlankChar(*at_, delimiter_))
            ++at_;
    }
    bool isDelimiter(char c) const {
        return delimiter_ == ' ' ? c == ' ' || c == '\t' : c == delimiter_;
    }
    const char* plain(Span& cell) {
        const char* stop = at_;
        while (stop < end_ && !isDelimiter(*stop))
            ++stop;
        const char* last = stop;
        while (last > at_ && isBlankChar(last[-1], delimiter_))
            --last;
        cell = {at_, last};
        return stop;
    }
    const char* quoted(Span& cell) {
        const char* open = at_;
        scratch_.clear();
        const char* p = at_ + 1;
        for (; p < end_; ++p) {
            if (*p != '"') {
                scratch_ += *p;
            } else if (p + 1 < end_ && p[1] == '"') {
                scratch_ += '"';
                ++p;
            } else {
                break;
            }
        }
        // No closing quote, or text right after it: the cell as it stands.
        if (p >= end_ || !endsCell(p + 1)) {
            at_ = open;
            return plain(cell);
        }
        cell = {scratch_.data(), scratch_.data() + scratch_.size()};
        quoted_ = true;
        at_ = p + 1;
        if (delimiter_ != ' ') skipBlanks();
        return at_;
    }
    // Whether a closing quote before `p` ends its cell.
    bool endsCell(const char* p) const {
        if (delimiter_ != ' ')
            while (p < end_ && isBlankChar(*p, delimiter_))
                ++p;
        return p >= end_ || isDelimiter(*p);
    }

    const char* at_;
    const char* end_;
    char delimiter_;
    bool done_ = false;
    bool quoted_ = false;
    std::string scratch_;
};

// A whole cell as a number, "C" style; with `decimalComma`, "1,5" too.
template <typename T> bool parseNumber(Span cell, bool decimalComma, T& value) {
    const char* b = cell.begin;
    const char* e = cell.end;
    if (b < e && *b == '+') ++b;
    if (b >= e) return false;
    char copy[64];
    if (decimalComma && std::memchr(b, ',', size_t(e - b))) {
        if (e - b >= int(sizeof copy)) return false;
        size_t n = size_t(e - b);
        std::memcpy(copy, b, n);
        for (size_t i = 0; i < n; ++i)
            if (copy[i] == ',') copy[i] = '.';
        b = copy;
        e = copy + n;
    }
    auto result = std::from_chars(b, e, value);
    if (result.ptr != e) return false;
    // An underflow is a tiny value, as strtod and pandas read it.
    if (result.ec == std::errc::result_out_of_range) outOfRangeValue(b, e, value);
    return result.ec == std::errc() || result.ec == std::errc::result_out_of_range;
}

} // namespace csv

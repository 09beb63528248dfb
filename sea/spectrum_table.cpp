#include "sea/spectrum_table.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

bool isSeparator(char c) {
    return c == '\t' || c == ',' || c == ';' || c == ' ' || c == '\r';
}

// The first two cells of a line as numbers; false when either is missing
// or not a number as a whole.
bool twoNumbers(const char* at, const char* end, double& first, double& second) {
    double* cells[2] = {&first, &second};
    for (double* cell : cells) {
        while (at < end && isSeparator(*at))
            ++at;
        if (at < end && *at == '+') ++at;
        auto res = std::from_chars(at, end, *cell);
        if (res.ec != std::errc() || (res.ptr < end && !isSeparator(*res.ptr))) return false;
        at = res.ptr;
    }
    return true;
}

bool isBlankOrComment(const char* at, const char* end) {
    while (at < end && isSeparator(*at))
        ++at;
    return at == end || *at == '#';
}

} // namespace

bool parseSpectrumTable(const std::string& text, SpectrumTable& out, std::string* error) {
    SpectrumTable table;
    const char* at = text.data();
    const char* end = at + text.size();
    bool headerAllowed = true;
    for (long line = 1; at < end; ++line) {
        const char* stop = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)));
        if (!stop) stop = end;
        if (!isBlankOrComment(at, stop)) {
            double f, s;
            if (twoNumbers(at, stop, f, s)) {
                table.frequency.push_back(f);
                table.density.push_back(s);
            } else if (!headerAllowed) {
                if (error)
                    *error = "line " + std::to_string(line) +
                             " of the spectrum table is not a frequency and a density";
                return false;
            }
            headerAllowed = false;
        }
        at = stop < end ? stop + 1 : end;
    }
    if (!checkSpectrumTable(table, error)) return false;
    out = std::move(table);
    return true;
}

bool readSpectrumTable(const std::string& path, SpectrumTable& out, std::string* error) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        if (error) *error = "cannot open the spectrum table " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, n);
    if (std::ferror(file.get())) {
        if (error) *error = "cannot read the spectrum table " + path;
        return false;
    }
    if (!parseSpectrumTable(text, out, error)) {
        if (error) *error = path + ": " + *error;
        return false;
    }
    return true;
}

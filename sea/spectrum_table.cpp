#include "sea/spectrum_table.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include "measure/file_io.h"

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
    auto refuse = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    OpenError opened;
    FileHandle file = FileHandle::openRead(path.c_str(), &opened);
    if (!file.valid())
        return refuse(
            "cannot open the spectrum table " + path + ": " +
            (opened == OpenError::CannotOpen ? std::strerror(errno) : openErrorText(opened)));
    // Only the size found on opening is read, so a file still growing stays bounded.
    const int64_t size = file.remaining();
    if (size < 0) return refuse("cannot read the spectrum table " + path);
    if (size > int64_t(SPECTRUM_TABLE_MAX_BYTES))
        return refuse("cannot read the spectrum table " + path + ": it is larger than " +
                      std::to_string(SPECTRUM_TABLE_MAX_BYTES >> 20) + " MiB");
    std::string text(size_t(size), '\0');
    if (!file.readExact(&text[0], text.size()))
        return refuse("cannot read the spectrum table " + path);
    if (!parseSpectrumTable(text, out, error)) {
        if (error) *error = path + ": " + *error;
        return false;
    }
    return true;
}

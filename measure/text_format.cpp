#include "measure/text_format.h"

#include <algorithm>
#include <cstring>

#include "measure/atomic_file.h"
#include "measure/file_io.h"
#include "measure/line_reader.h"
#include "measure/number_text.h"

namespace {

constexpr int MAX_NUMBERS = TEXT_MAX_CHANNELS + 1;

int parseLine(const char* line, size_t length, float* numbers) {
    return parseFloats(line, line + length, numbers, MAX_NUMBERS);
}

bool isBlank(const char* line, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        const char c = line[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') return false;
    }
    return true;
}

// Lines 1 and 2 decide the channel count and the sample rate.
bool scanFirstLines(CMeasure& m, LineReader& lines, std::string& error) {
    const char* line;
    size_t length;
    float first[MAX_NUMBERS], second[MAX_NUMBERS];
    if (!lines.next(line, length) || parseLine(line, length, first) < 2) {
        error = "line 1 holds fewer than two numbers";
        return false;
    }
    int numbers = parseLine(line, length, first);
    if (!lines.next(line, length) || parseLine(line, length, second) != numbers) {
        error = "line 2 does not hold " + std::to_string(numbers) + " numbers like line 1";
        return false;
    }
    m.channelCount = numbers - 1;
    m.sampleRate = 1.0 / double(second[0] - first[0]);
    return true;
}

std::string badLineText(int64_t row, int expected) {
    return "line " + std::to_string(row + 1) + " does not hold " + std::to_string(expected) +
           " numbers";
}

// First pass: the channels and sample rate, and the rows: every line up to
// the last one that is not blank (blank lines at the end, as many tools
// leave them, are no rows; a blank line before a row is damage). With
// `firstBad`, every row is also checked and the first that does not hold the
// channels' numbers is returned there (-1 when none).
bool scanText(CMeasure& m, LineReader& lines, std::string& error, int64_t* firstBad = nullptr) {
    if (!scanFirstLines(m, lines, error)) return false;
    const char* line;
    size_t length;
    float numbers[MAX_NUMBERS];
    const int expected = m.channelCount + 1;
    int64_t count = 2, rows = 2;
    if (firstBad) *firstBad = -1;
    while (lines.next(line, length)) {
        ++count;
        if (!isBlank(line, length)) rows = count;
        if (firstBad && *firstBad < 0 && parseLine(line, length, numbers) != expected)
            *firstBad = count - 1;
    }
    // A blank line after the last row is no damage.
    if (firstBad && *firstBad >= rows) *firstBad = -1;
    if (rows > INT32_MAX) {
        error = "too many lines for one measurement";
        return false;
    }
    m.sampleCount = int32_t(rows);
    return true;
}

// Second pass: every row must carry the X value and one value per channel.
// At the first that does not, the rows before it are kept when the options
// allow it; otherwise the read fails with the rest of the block zero.
bool convertText(CMeasure& m, LineReader& lines, std::string& error, const ReadOptions& options,
                 ReadReport* report) {
    const char* line;
    size_t length;
    float numbers[MAX_NUMBERS];
    const int expected = m.channelCount + 1;
    float* columns[MAX_CHANNELS];
    for (int c = 0; c < m.channelCount; ++c)
        columns[c] = m.column(c);
    int32_t row = 0;
    for (; row < m.sampleCount; ++row) {
        if (!lines.next(line, length) || parseLine(line, length, numbers) != expected) break;
        for (int c = 0; c < m.channelCount; ++c)
            columns[c][row] = numbers[c + 1];
    }
    if (row == m.sampleCount) return true;
    error = badLineText(row, expected);
    if (acceptDamage(options, report, row, m.sampleCount, error)) {
        m.truncateSamples(row);
        return true;
    }
    for (int c = 0; c < m.channelCount; ++c)
        std::fill(columns[c] + row, columns[c] + m.sampleCount, 0.0f);
    return false;
}

} // namespace

bool readTextHeader(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
                    ReadReport* report) {
    std::string why;
    OpenError opened;
    FileHandle file = FileHandle::openRead(path, &opened);
    bool ok = false;
    if (!file.valid()) {
        why = openErrorText(opened);
    } else {
        LineReader lines(file);
        int64_t bad = -1;
        ok = scanText(m, lines, why, &bad);
        if (ok && bad >= 0) {
            why = badLineText(bad, m.channelCount + 1);
            ok = acceptDamage(options, report, bad, m.sampleCount, why);
            if (ok) m.sampleCount = int32_t(bad);
        }
        if (ok) describePlainChannels(m);
        copyField(m.path, sizeof m.path, path);
    }
    if (error) *error = ok ? std::string() : why;
    return ok;
}

bool readText(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
              ReadReport* report) {
    std::string why;
    OpenError opened;
    FileHandle file = FileHandle::openRead(path, &opened);
    bool ok = false;
    if (!file.valid()) {
        why = openErrorText(opened);
    } else {
        LineReader lines(file);
        if (scanText(m, lines, why)) {
            describePlainChannels(m);
            if (!m.allocateSamples(&why))
                ok = false;
            else if (lines.rewind())
                ok = convertText(m, lines, why, options, report);
            else
                why = "cannot read the file again";
        }
        copyField(m.path, sizeof m.path, path);
    }
    if (error) *error = ok ? std::string() : why;
    return ok;
}

const char* textFormatRefusal(const CMeasure& m) {
    if (const char* why = noSamplesReason(m)) return why;
    // The reader takes 17 numbers of a line; lines of more would also pass
    // its 511 characters and come back as several rows.
    if (m.TextValuesPerRow() > TEXT_MAX_CHANNELS)
        return "a .TXT file holds at most 16 channels (8 of an analysis result, which writes "
               "two values per channel)";
    if (m.sampleCount < 2)
        return "a .TXT file needs at least 2 rows: its sample rate comes from rows 1 and 2";
    return nullptr;
}

bool writeTextFile(CMeasure& m, const char* path, std::string* error) {
    if (const char* why = textFormatRefusal(m)) {
        if (error) *error = why;
        return false;
    }
    AtomicFile out;
    bool ok = out.open(path) &&
              out.commit(out.writeStream([&m](std::FILE* f) { return m.WriteText(f); }));
    if (!ok && error) *error = out.error();
    return ok;
}

bool writeBlockText(const CMeasure& m, int32_t channel, int32_t from, int32_t to, const char* path,
                    std::string* error) {
    if (from == to || !m.hasChannel(channel)) {
        if (error) *error = "the block is empty";
        return false;
    }
    return replaceFile(path, blockText(m, channel, from, to), error);
}

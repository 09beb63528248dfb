#include "measure/text_format.h"

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

// First pass: channel count and sample rate from lines 1 and 2, and the number
// of lines.
bool scanText(CMeasure& m, LineReader& lines, std::string& error) {
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
    int64_t count = 2;
    while (lines.next(line, length))
        ++count;
    if (count * m.channelCount * int64_t(sizeof(Sample)) > INT32_MAX) {
        error = "too many lines for one measurement";
        return false;
    }
    m.sampleCount = int32_t(count);
    return true;
}

// Second pass: every line must carry the X value and one value per channel.
bool convertText(CMeasure& m, LineReader& lines, std::string& error) {
    const char* line;
    size_t length;
    float numbers[MAX_NUMBERS];
    const int expected = m.channelCount + 1;
    int32_t row = 0;
    bool ok = true;
    for (; row < m.sampleCount; ++row) {
        if (!lines.next(line, length) || parseLine(line, length, numbers) != expected) {
            error = "line " + std::to_string(row + 1) + " does not hold " +
                    std::to_string(expected) + " numbers";
            ok = false;
            break;
        }
        Sample* out = &m.at(0, row);
        for (int c = 0; c < m.channelCount; ++c)
            out[c] = Sample{numbers[c + 1], 0.0f};
    }
    if (row < m.sampleCount)
        std::memset(&m.at(0, row), 0,
                    size_t(m.sampleCount - row) * size_t(m.channelCount) * sizeof(Sample));
    return ok;
}

} // namespace

bool readTextHeader(CMeasure& m, const char* path, std::string* error) {
    std::string why;
    OpenError opened;
    FileHandle file = FileHandle::openRead(path, &opened);
    bool ok = false;
    if (!file.valid()) {
        why = openErrorText(opened);
    } else {
        LineReader lines(file);
        ok = scanText(m, lines, why);
        if (ok) describePlainChannels(m);
        copyField(m.path, sizeof m.path, path);
    }
    if (error) *error = why;
    return ok;
}

bool readText(CMeasure& m, const char* path, std::string* error) {
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
            if (!m.resizeSamples(int64_t(m.sampleCount) * m.channelCount * 8))
                why = "not enough memory for the samples";
            else if (lines.rewind())
                ok = convertText(m, lines, why);
            else
                why = "cannot read the file again";
        }
        copyField(m.path, sizeof m.path, path);
    }
    if (error) *error = why;
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

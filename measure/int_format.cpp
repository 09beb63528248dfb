#include "measure/int_format.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "measure/atomic_file.h"
#include "measure/file_io.h"
#include "numeric/two_threads.h"

namespace {

// Samples are expanded in pieces of this many values, so the part of the
// block just read is still in cache when it is spread out.
constexpr size_t EXPAND_CHUNK = 256 * 1024;
// The extremes are gathered from this many samples just spread, still in the
// nearest cache.
constexpr int64_t GATHER_CHUNK = 4096;

// In memory samples are floats, whatever the file holds.
void setMemoryFormat(CMeasure& m, int code) {
    if (code < 5) m.sampleFormat = SAMPLE_FORMAT_REAL;
}

struct IntReader {
    CMeasure& m;
    FileHandle file;
    std::string error;
    ChannelExtremes* seen = nullptr; // gathered by readSampleMajor when given
    ReadOptions options;
    ReadReport* report = nullptr;
    int32_t declaredRows = 0; // the header's count; sampleCount is less on a partial read

    bool fail(const std::string& why) {
        if (error.empty()) error = why;
        return false;
    }

    bool readHeader(int& code);
    bool checkSampleBytes(int code);
    int64_t completeRows(int code, int64_t bytes) const;
    bool readChannelRecords(int code);
    bool readSamples(int code);
    bool readChannelMajor(int code);
    bool readSampleMajor(int code);
    void spreadValues(const float* values, int64_t count, int64_t first);
    void zeroRows(int64_t firstRow);
};

size_t bytesPerValue(int code) {
    switch (code) {
    case 0:
    case 2:
    case 3:
    case 4:
        return 2;
    case 5:
        return 4;
    case 6:
        return 8;
    default:
        return 0;
    }
}

bool IntReader::readHeader(int& code) {
    unsigned char head[14];
    if (!file.readExact(head, 8)) return fail("file too short for the sample rate");
    double rate = loadDouble(head);
    if (!(rate >= 0.0 && rate <= INT_MAX_SAMPLE_RATE)) return fail("sample rate outside 0..330000");
    m.sampleRate = rate;
    if (!file.readExact(head + 8, 6)) return fail("file too short for the header");
    int channels = head[8];
    if (channels > MAX_CHANNELS) return fail("more than 64 channels");
    m.channelCount = channels;
    // Zeros or any file that is no measurement mostly gets here.
    if (channels == 0) return fail("the file holds no channel");
    code = int8_t(head[9]);
    if (code < 0 || code > 7) return fail("sample layout code outside 0..7");
    m.sampleFormat = int8_t(code);
    int32_t count = loadInt32(head + 10);
    if (count < 0 || count > INT_MAX_SAMPLES) return fail("sample count outside 0..2097152");
    m.sampleCount = count;
    return true;
}

bool IntReader::readChannelRecords(int code) {
    if (code == 0) {
        // Always sixteen coefficients, whatever the channel count. Channels
        // beyond them keep their raw counts (coefficient 1).
        unsigned char coef[16 * 8];
        if (!file.readExact(coef, sizeof coef)) return fail("file too short for the coefficients");
        m.date = 0;
        m.name[0] = '\0';
        for (int c = 0; c < m.channelCount; ++c) {
            std::memset(&m.channels[c], 0, sizeof(ChannelInfo));
            m.channels[c].coefficient = c < 16 ? loadDouble(coef + 8 * c) : 1.0;
        }
        return true;
    }
    unsigned char head[65];
    if (!file.readExact(head, sizeof head)) return fail("file too short for the name");
    m.date = loadUint32(head);
    if (head[4] > MAX_NAME) return fail("name length above 60");
    std::memset(m.name, 0, sizeof m.name);
    std::memcpy(m.name, head + 5, head[4]);
    for (int c = 0; c < m.channelCount; ++c) {
        unsigned char r[INT_CHANNEL_RECORD_BYTES];
        if (!file.readExact(r, sizeof r)) return fail("file too short for the channel records");
        if (r[8] > MAX_UNIT) return fail("unit length above 7 in channel " + std::to_string(c));
        if (r[16] > MAX_CHANNEL_NAME)
            return fail("channel name length above 40 in channel " + std::to_string(c));
        ChannelInfo& info = m.channels[c];
        std::memset(&info, 0, sizeof info);
        info.coefficient = loadDouble(r);
        std::memcpy(info.unit, r + 9, r[8]);
        std::memcpy(info.name, r + 17, r[16]);
        info.constant = loadDouble(r + 57);
        for (int k = 0; k < 4; ++k)
            info.reserved[k] = loadDouble(r + 65 + 8 * k);
    }
    return true;
}

// Zeroes every row from `firstRow` to the end of the block.
void IntReader::zeroRows(int64_t firstRow) {
    for (int c = 0; c < m.channelCount; ++c)
        for (int64_t j = firstRow; j < m.sampleCount; ++j)
            m.setSample(c, j, Sample{0.0f, 0.0f});
}

bool IntReader::readChannelMajor(int code) {
    const int32_t n = m.sampleCount;
    const int channels = m.channelCount;
    // Each channel starts where the header's count puts it, also when fewer
    // rows are read.
    const int64_t start = file.position();
    if (start < 0) return fail("cannot tell where the samples start");
    std::vector<int16_t> column(static_cast<size_t>(n));
    for (int c = 0; c < channels; ++c) {
        size_t got =
            file.readAt(column.data(), size_t(n) * 2, start + int64_t(c) * declaredRows * 2);
        if (got != size_t(n) * 2) {
            // The rest of this channel and the channels after it stay zero.
            for (int k = c; k < channels; ++k)
                std::fill(m.column(k), m.column(k) + n, 0.0f);
            return fail("file ends in the samples of channel " + std::to_string(c));
        }
        const double coef = m.channels[c].coefficient;
        const double offset = code == 3 ? m.channels[c].constant : 0.0;
        float* out = m.column(c);
        for (int32_t j = 0; j < n; ++j)
            out[j] = float(coef * column[size_t(j)] + offset);
    }
    return true;
}

bool IntReader::readSampleMajor(int code) {
    const size_t width = bytesPerValue(code);
    const int64_t total = int64_t(m.sampleCount) * m.channelCount;
    if (code == 6) {
        // Complex pairs row after row, as they are held.
        size_t want = size_t(total) * sizeof(Sample);
        size_t got = file.read(m.pairRows(), want);
        if (got == want) return true;
        zeroRows(int64_t(got / sizeof(Sample)) / m.channelCount);
        return fail("file ends in the samples");
    }
    // Codes 4 and 5: pieces of raw values are read at their place in the file
    // into a small buffer of each reading thread and spread into samples
    // there; no second block of the block's size is needed, and two threads
    // keep both the reading and the spreading going at once.
    const int64_t start = file.position();
    if (start < 0) return fail("cannot tell where the samples start");
    std::vector<double> coef(size_t(m.channelCount)), offset(size_t(m.channelCount));
    for (int c = 0; c < m.channelCount; ++c) {
        coef[size_t(c)] = m.channels[c].coefficient;
        offset[size_t(c)] = m.channels[c].constant;
    }
    const int64_t pieces = (total + int64_t(EXPAND_CHUNK) - 1) / int64_t(EXPAND_CHUNK);
    std::atomic<int64_t> shortAt{total}; // the first value the file did not hold
    // Each thread gathers the extremes of its pieces while they are in cache.
    ChannelExtremes threadSeen[2] = {ChannelExtremes(m.channelCount),
                                     ChannelExtremes(m.channelCount)};
    auto spread = [&](int64_t firstPiece, int64_t step) {
        std::vector<unsigned char> raw(EXPAND_CHUNK * width);
        std::vector<float> values(code == 5 ? 0 : EXPAND_CHUNK);
        for (int64_t p = firstPiece; p < pieces; p += step) {
            const int64_t first = p * int64_t(EXPAND_CHUNK);
            if (first >= shortAt.load(std::memory_order_relaxed)) return;
            const int64_t count = std::min<int64_t>(int64_t(EXPAND_CHUNK), total - first);
            size_t got =
                file.readAt(raw.data(), size_t(count) * width, start + first * int64_t(width));
            const int64_t whole = int64_t(got / width);
            // Floats from the file are the values as they are; integers are
            // scaled with their channel's coefficient and constant.
            const float* floats = reinterpret_cast<const float*>(raw.data());
            if (code == 4) {
                int channel = int(first % m.channelCount);
                for (int64_t i = 0; i < whole; ++i) {
                    int16_t v;
                    std::memcpy(&v, raw.data() + 2 * i, 2);
                    values[size_t(i)] = float(coef[size_t(channel)] * v + offset[size_t(channel)]);
                    if (++channel == m.channelCount) channel = 0;
                }
                floats = values.data();
            }
            for (int64_t done = 0; done < whole; done += GATHER_CHUNK) {
                const int64_t n = std::min(GATHER_CHUNK, whole - done);
                spreadValues(floats + done, n, first + done);
                if (seen)
                    threadSeen[firstPiece].addRealParts(
                        reinterpret_cast<const unsigned char*>(floats + done), n, first + done);
            }
            if (whole != count) {
                int64_t at = first + whole;
                int64_t earliest = shortAt.load(std::memory_order_relaxed);
                while (at < earliest && !shortAt.compare_exchange_weak(earliest, at)) {
                }
                return;
            }
        }
    };
    constexpr int64_t PIECES_FOR_TWO = 4;
    onTwoThreads(pieces >= PIECES_FOR_TWO, spread);
    if (shortAt.load() < total) {
        zeroRows(shortAt.load() / m.channelCount);
        return fail("file ends in the samples");
    }
    if (seen) {
        threadSeen[0].join(threadSeen[1]);
        *seen = threadSeen[0];
    }
    return true;
}

// Spreads `count` values of the file's rows, the first of them value `first`
// (row-major) of the record, into the channels' columns.
void IntReader::spreadValues(const float* values, int64_t count, int64_t first) {
    const int channels = m.channelCount;
    if (channels == 1) {
        std::memcpy(m.column(0) + first, values, size_t(count) * sizeof(float));
        return;
    }
    float* columns[MAX_CHANNELS];
    for (int c = 0; c < channels; ++c)
        columns[c] = m.column(c);
    int channel = int(first % channels);
    int64_t row = first / channels, i = 0;
    // The piece's first and last rows may be partial. The whole rows between
    // go a few hundred at a time, a column after another: the columns lie a
    // power of two apart, and writing a row at a time into all of them would
    // have every store compete for the same cache sets.
    for (; i < count && channel != 0; ++i, channel = (channel + 1) % channels)
        columns[channel][row] = values[i];
    if (i > 0 && channel == 0 && first % channels != 0) ++row;
    constexpr int64_t ROWS_AT_A_TIME = 256;
    while (i + channels <= count) {
        const int64_t rows = std::min(ROWS_AT_A_TIME, (count - i) / channels);
        for (int c = 0; c < channels; ++c) {
            float* out = columns[c] + row;
            const float* in = values + i + c;
            for (int64_t r = 0; r < rows; ++r)
                out[r] = in[r * channels];
        }
        i += rows * channels;
        row += rows;
    }
    for (int c = 0; i < count; ++i, ++c)
        columns[c][row] = values[i];
}

// Rows whose every value lies in the first `bytes` bytes of the samples:
// channel after channel (codes 0, 2, 3) only those the last channel reaches.
int64_t IntReader::completeRows(int code, int64_t bytes) const {
    const int64_t values = bytes / int64_t(bytesPerValue(code));
    if (code <= 3) return std::max<int64_t>(0, values - int64_t(m.channelCount - 1) * declaredRows);
    return values / m.channelCount;
}

// A header that promises more than the file holds is refused before the block
// is allocated, unless the complete rows are to be kept; bytes after the
// samples are counted.
bool IntReader::checkSampleBytes(int code) {
    size_t width = bytesPerValue(code);
    if (width == 0) return fail("sample layout code " + std::to_string(code) + " has no samples");
    declaredRows = m.sampleCount;
    int64_t bytes = int64_t(m.sampleCount) * m.channelCount * int64_t(width);
    int64_t left = file.remaining();
    if (left < 0) return true;
    if (left >= bytes) {
        if (report) report->bytesIgnored = left - bytes;
        return true;
    }
    std::string why = "header declares " + std::to_string(bytes) +
                      " bytes of samples but the file holds " + std::to_string(left);
    int64_t complete = completeRows(code, left);
    if (!acceptDamage(options, report, complete, declaredRows, why)) return fail(why);
    m.sampleCount = int32_t(complete);
    return true;
}

bool IntReader::readSamples(int code) {
    if (!checkSampleBytes(code)) return false;
    setMemoryFormat(m, code);
    std::string why;
    if (!m.allocateSamples(&why)) return fail(why);
    if (!m.hasSamples()) return true;
    return code <= 3 ? readChannelMajor(code) : readSampleMajor(code);
}

} // namespace

namespace {

// Opens the file and reads up to the samples; `code` is the sample layout.
bool readUpToSamples(IntReader& r, const char* path, int& code) {
    OpenError opened;
    r.file = FileHandle::openRead(path, &opened);
    copyField(r.m.path, sizeof r.m.path, path);
    bool ok = r.file.valid() ? r.readHeader(code) : r.fail(openErrorText(opened));
    ok = ok && r.readChannelRecords(code);
    if (ok) {
        for (int c = 0; c < r.m.channelCount; ++c)
            resetParameters(r.m.signalParameters[c]);
    }
    return ok;
}

} // namespace

bool readInt(CMeasure& m, const char* path, std::string* error, ChannelExtremes* seen,
             const ReadOptions& options, ReadReport* report) {
    if (seen) *seen = ChannelExtremes();
    IntReader r{m, {}, {}, seen, options, report};
    int code = 0;
    bool ok = readUpToSamples(r, path, code);
    if (ok) {
        ok = r.readSamples(code);
        setMemoryFormat(m, code);
    }
    if (error) *error = r.error;
    return ok;
}

bool readIntHeader(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
                   ReadReport* report) {
    IntReader r{m, {}, {}, nullptr, options, report};
    int code = 0;
    bool ok = readUpToSamples(r, path, code) && r.checkSampleBytes(code);
    if (ok) setMemoryFormat(m, code);
    if (error) *error = r.error;
    return ok;
}

// ---------------------------------------------------------------------------

namespace {

void putChannelRecord(unsigned char* r, const ChannelInfo& info) {
    std::memset(r, 0, INT_CHANNEL_RECORD_BYTES);
    storeDouble(r, info.coefficient);
    r[8] = uint8_t(strnlen(info.unit, MAX_UNIT));
    std::memcpy(r + 9, info.unit, MAX_UNIT);
    r[16] = uint8_t(strnlen(info.name, MAX_CHANNEL_NAME));
    std::memcpy(r + 17, info.name, MAX_CHANNEL_NAME);
    storeDouble(r + 57, info.constant);
    for (int k = 0; k < 4; ++k)
        storeDouble(r + 65 + 8 * k, info.reserved[k]);
}

bool writeHeader(FileHandle& file, const CMeasure& m) {
    std::vector<unsigned char> head(79 + size_t(m.channelCount) * INT_CHANNEL_RECORD_BYTES, 0);
    storeDouble(head.data(), m.sampleRate);
    head[8] = uint8_t(m.channelCount & 0xFF);
    head[9] = uint8_t(m.sampleFormat);
    storeInt32(head.data() + 10, m.sampleCount);
    storeUint32(head.data() + 14, m.date);
    head[18] = uint8_t(strnlen(m.name, MAX_NAME));
    std::memcpy(head.data() + 19, m.name, MAX_NAME);
    for (int c = 0; c < m.channelCount; ++c)
        putChannelRecord(head.data() + 79 + size_t(c) * INT_CHANNEL_RECORD_BYTES, m.channels[c]);
    return file.writeAll(head.data(), head.size());
}

bool writeRealParts(FileHandle& file, const CMeasure& m) {
    const int channels = m.channelCount;
    const int64_t rowsAtATime = std::max<int64_t>(1, int64_t(EXPAND_CHUNK) / channels);
    std::vector<float> buffer(size_t(rowsAtATime * channels));
    for (int64_t first = 0; first < m.sampleCount; first += rowsAtATime) {
        const int64_t rows = std::min(rowsAtATime, m.sampleCount - first);
        // The file's rows gathered from the channels' runs.
        for (int c = 0; c < channels; ++c) {
            const ChannelValues v = m.values(c);
            for (int64_t r = 0; r < rows; ++r)
                buffer[size_t(r * channels + c)] = v[first + r];
        }
        if (!file.writeAll(buffer.data(), size_t(rows * channels) * 4)) return false;
    }
    return true;
}

} // namespace

const char* intFormatRefusal(const CMeasure& m) {
    if (const char* why = noSamplesReason(m)) return why;
    if (m.sampleCount > INT_MAX_SAMPLES)
        return "an .INT file holds at most 2097152 samples per channel";
    if (!(m.sampleRate >= 0.0 && m.sampleRate <= INT_MAX_SAMPLE_RATE))
        return "an .INT file holds sample rates from 0 to 330000 only";
    return nullptr;
}

bool writeInt(CMeasure& m, const char* path, std::string* error) {
    // A file the reader would refuse is not written at all.
    if (const char* why = intFormatRefusal(m)) {
        if (error) *error = why;
        return false;
    }
    AtomicFile out;
    bool ok = out.open(path);
    if (ok) {
        FileHandle& file = out.file();
        bool written = writeHeader(file, m);
        if (written && m.sampleFormat == SAMPLE_FORMAT_COMPLEX)
            written = m.pairRows() && file.writeAll(m.pairRows(), size_t(m.sampleCount) *
                                                                      size_t(m.channelCount) * 8);
        else if (written)
            written = writeRealParts(file, m);
        ok = out.commit(written);
        copyField(m.path, sizeof m.path, path);
    }
    if (!ok && error) *error = out.error();
    return ok;
}

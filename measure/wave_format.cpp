#include "measure/wave_format.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "measure/file_io.h"
#include "measure/riff_reader.h"
#include "measure/row_scatter.h"
#include "numeric/two_threads.h"

namespace {

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_IEEE_FLOAT = 3;
constexpr uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;
constexpr int64_t PCM_FORMAT_BYTES = 16;
constexpr int64_t EXTENSIBLE_FORMAT_BYTES = 40;
constexpr int64_t MAX_FORMAT_BYTES = 4096;
// The sub-format GUIDs inside WAVE_FORMAT_EXTENSIBLE, as stored: the first two
// bytes are the plain format tag, the rest is the same for both.
constexpr unsigned char PCM_SUBFORMAT[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                             0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr unsigned char FLOAT_SUBFORMAT[16] = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                               0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// Data are converted in pieces of about this size, not in one copy of the chunk.
constexpr int64_t READ_PIECE_BYTES = 1 << 16;
// Data chunks from this size are read on two threads.
constexpr int64_t TWO_THREADS_FROM_BYTES = int64_t(8) << 20;

struct WaveFormat {
    int channels = 0;
    double sampleRate = 0.0;
    int bytesPerSample = 0;
    bool isFloat = false; // IEEE float samples instead of integers
};

bool fail(std::string* error, const std::string& reason) {
    if (error) *error = reason;
    return false;
}

std::string number(int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%" PRId64, value);
    return text;
}

// The format tag, with WAVE_FORMAT_EXTENSIBLE resolved to its sub-format.
bool sampleEncoding(const unsigned char* fmt, int64_t bytes, bool& isFloat, std::string* error) {
    uint16_t tag = uint16_t(loadInt16(fmt));
    if (tag == WAVE_FORMAT_EXTENSIBLE) {
        if (bytes < EXTENSIBLE_FORMAT_BYTES)
            return fail(error, "the extensible format chunk is too short");
        isFloat = std::memcmp(fmt + 24, FLOAT_SUBFORMAT, sizeof FLOAT_SUBFORMAT) == 0;
        if (!isFloat && std::memcmp(fmt + 24, PCM_SUBFORMAT, sizeof PCM_SUBFORMAT) != 0)
            return fail(error, "the extensible sub-format is neither integer PCM nor IEEE float");
        return true;
    }
    isFloat = tag == WAVE_FORMAT_IEEE_FLOAT;
    if (!isFloat && tag != WAVE_FORMAT_PCM)
        return fail(error, "format tag " + number(tag) + " is neither integer PCM nor IEEE float");
    return true;
}

// The bytes of one sample. An integer occupies whole bytes, fewer significant
// bits sitting in the same container; a float is exactly 32 or 64 bits.
bool sampleBytes(uint16_t bits, bool isFloat, int& bytes, std::string* error) {
    if (isFloat) {
        if (bits != 32 && bits != 64)
            return fail(error, number(bits) + "-bit float samples cannot be read (32 or 64 bits)");
    } else if (bits == 0 || bits > 32) {
        return fail(error, number(bits) + "-bit samples cannot be read");
    }
    bytes = (bits + 7) / 8;
    return true;
}

// Checks the "fmt " chunk's contents and takes what the reader needs from it.
bool parseFormat(const unsigned char* fmt, int64_t bytes, WaveFormat& format, std::string* error) {
    if (bytes < PCM_FORMAT_BYTES) return fail(error, "the format chunk is too short");
    bool isFloat = false;
    if (!sampleEncoding(fmt, bytes, isFloat, error)) return false;
    int channels = uint16_t(loadInt16(fmt + 2));
    if (channels == 0) return fail(error, "the file declares no channels");
    if (channels > MAX_CHANNELS)
        return fail(error, number(channels) + " channels, at most " + number(MAX_CHANNELS) +
                               " can be read");
    int sample = 0;
    if (!sampleBytes(uint16_t(loadInt16(fmt + 14)), isFloat, sample, error)) return false;
    // Float files are newer than the integer readers' leniency: a block that
    // is not one sample per channel means the layout is not understood.
    int align = uint16_t(loadInt16(fmt + 12));
    if (isFloat && align != channels * sample)
        return fail(error, "a block of " + number(align) + " bytes does not hold " +
                               number(channels) + " samples of " + number(sample) + " bytes");
    format.channels = channels;
    format.sampleRate = double(loadUint32(fmt + 4));
    format.bytesPerSample = sample;
    format.isFloat = isFloat;
    return true;
}

void describeChannels(CMeasure& m, const WaveFormat& format) {
    m.channelCount = format.channels;
    m.sampleRate = format.sampleRate;
    m.sampleCount = 0;
    describePlainChannels(m);
}

// The integer value of one little-endian sample; up to 8 bits are unsigned and
// centred on 128, wider samples are signed.
// Loaded here rather than through file_io's loaders, which the compiler cannot
// inline into the per-sample loop.
int32_t sampleValue(const unsigned char* p, int bytes) {
    switch (bytes) {
    case 1:
        return int32_t(p[0]) - 128;
    case 2:
        return int16_t(uint16_t(p[0] | p[1] << 8));
    case 3: {
        uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
        return int32_t(v ^ 0x800000u) - 0x800000;
    }
    default:
        return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                       uint32_t(p[3]) << 24);
    }
}

// Where a piece of interleaved rows goes: row `row` of every channel's column
// (the columns `stride` values apart).
struct ColumnTarget {
    float* const* columns;
    int channels;
    int64_t row;
    int64_t stride;
};

// Spreads `rows` interleaved rows of samples of BYTES bytes each into the
// columns, a channel at a time. The width is a constant here so that the
// conversion compiles to a tight loop for each width.
template <int BYTES, typename Value>
void spreadPiece(const unsigned char* in, const ColumnTarget& out, int64_t rows, Value value) {
    const int64_t rowBytes = int64_t(BYTES) * out.channels;
    for (int c = 0; c < out.channels; ++c) {
        float* column = out.columns[c] + out.row;
        const unsigned char* p = in + int64_t(c) * BYTES;
        for (int64_t r = 0; r < rows; ++r)
            column[r] = value(p + r * rowBytes);
    }
}

template <int BYTES>
void convertPiece(const unsigned char* in, const ColumnTarget& out, int64_t rows) {
    spreadPiece<BYTES>(in, out, rows,
                       [](const unsigned char* p) { return float(sampleValue(p, BYTES)); });
}

// One little-endian IEEE float sample, kept as it is (NaN and infinities too);
// a double is rounded to the nearest float.
template <int BYTES> float floatValue(const unsigned char* p) {
    uint64_t bits = 0;
    for (int b = 0; b < BYTES; ++b)
        bits |= uint64_t(p[b]) << (8 * b);
    if (BYTES == 4) {
        uint32_t narrow = uint32_t(bits);
        float value;
        std::memcpy(&value, &narrow, sizeof value);
        return value;
    }
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return float(value);
}

template <int BYTES>
void convertFloatPiece(const unsigned char* in, const ColumnTarget& out, int64_t rows) {
    spreadPiece<BYTES>(in, out, rows, [](const unsigned char* p) { return floatValue<BYTES>(p); });
}

void convert(const unsigned char* in, const ColumnTarget& out, int64_t rows,
             const WaveFormat& format) {
    // 32-bit floats are already the samples (the host is little-endian, as
    // file_io.h asserts): only spread into the columns.
    if (format.isFloat && format.bytesPerSample == 4)
        return scatterRows(reinterpret_cast<const float*>(in), rows, out.channels,
                           out.columns[0] + out.row, out.stride);
    if (format.isFloat)
        return format.bytesPerSample == 4 ? convertFloatPiece<4>(in, out, rows)
                                          : convertFloatPiece<8>(in, out, rows);
    switch (format.bytesPerSample) {
    case 1:
        return convertPiece<1>(in, out, rows);
    case 2:
        return convertPiece<2>(in, out, rows);
    case 3:
        return convertPiece<3>(in, out, rows);
    default:
        return convertPiece<4>(in, out, rows);
    }
}

// Reads and converts rows first .. end - 1 of the data chunk; returns the
// row it stopped at (`end` unless the file ends first).
int64_t readRowRange(RiffReader& riff, const RiffChunk& data, const ColumnTarget& columns,
                     int64_t first, int64_t end, const WaveFormat& format) {
    const int64_t rowBytes = int64_t(format.bytesPerSample) * columns.channels;
    const int64_t rowsPerPiece = std::min<int64_t>(READ_PIECE_BYTES / rowBytes + 1, end - first);
    // Held as floats, so that 32-bit float samples can be read in place.
    const int64_t pieceBytes = std::max<int64_t>(rowsPerPiece, 1) * rowBytes;
    std::vector<float> storage(size_t(pieceBytes + 3) / sizeof(float));
    unsigned char* piece = reinterpret_cast<unsigned char*>(storage.data());
    int64_t row = first;
    while (row < end) {
        const int64_t wanted = std::min<int64_t>(rowsPerPiece, end - row) * rowBytes;
        const int64_t got = riff.read(data, row * rowBytes, piece, wanted);
        const int64_t rows = got / rowBytes;
        convert(piece, ColumnTarget{columns.columns, columns.channels, row, columns.stride}, rows,
                format);
        row += rows;
        if (got < wanted) break;
    }
    return row;
}

// Reads and converts the rows of the data chunk, a large one in two halves
// on two threads (the reads are positioned); returns the rows converted.
int32_t readRows(RiffReader& riff, const RiffChunk& data, CMeasure& m, const WaveFormat& format) {
    float* columns[MAX_CHANNELS];
    for (int c = 0; c < m.channelCount; ++c)
        columns[c] = m.column(c);
    const ColumnTarget target{columns, m.channelCount, 0, m.columnRows()};
    const int64_t rows = m.sampleCount, half = rows / 2;
    const int64_t bytes = rows * m.channelCount * int64_t(format.bytesPerSample);
    int64_t reached[2] = {rows, rows};
    const bool split = onTwoThreads(bytes >= TWO_THREADS_FROM_BYTES, [&](int k, int parts) {
        const int64_t first = parts == 2 && k == 1 ? half : 0;
        const int64_t end = parts == 2 && k == 0 ? half : rows;
        reached[k] = readRowRange(riff, data, target, first, end, format);
    });
    if (split && reached[0] < half) return int32_t(reached[0]);
    return int32_t(split ? reached[1] : reached[0]);
}

bool readFormat(RiffReader& riff, const RiffChunk& wave, WaveFormat& format, std::string* error) {
    RiffChunk fmt;
    if (!riff.descend(fmt, &wave, riffId("fmt ")))
        return fail(error, "the file has no format chunk");
    if (fmt.available < fmt.size) return fail(error, "the format chunk is cut short");
    unsigned char bytes[MAX_FORMAT_BYTES];
    int64_t wanted = std::min<int64_t>(fmt.size, MAX_FORMAT_BYTES);
    if (riff.read(fmt, 0, bytes, wanted) != wanted)
        return fail(error, "the format chunk cannot be read");
    if (!parseFormat(bytes, wanted, format, error)) return false;
    riff.ascend(fmt);
    return true;
}

// Finds the data chunk and sets the sample count from it. A chunk declared
// longer than the file is cut short: refused, or read as far as the file
// goes when the options allow it.
bool locateData(RiffReader& riff, const RiffChunk& wave, CMeasure& m, int bytesPerSample,
                RiffChunk& data, const ReadOptions& options, ReadReport* report,
                std::string* error) {
    // The data chunk may come before the format chunk as well as after it.
    riff.rewind(wave);
    if (!riff.descend(data, &wave, riffId("data")))
        return fail(error, "the file has no data chunk");
    int64_t rowBytes = int64_t(bytesPerSample) * m.channelCount;
    int64_t rows = data.available / rowBytes;
    if (rows == 0) return fail(error, "the data chunk holds no complete sample");
    if (data.available < data.size) {
        std::string why = "the data chunk declares " + number(data.size) +
                          " bytes but the file holds " + number(data.available);
        if (!acceptDamage(options, report, rows, data.size / rowBytes, why))
            return fail(error, why);
    }
    if (rows > INT32_MAX) return fail(error, "the data chunk holds more than 2^31 rows");
    m.sampleCount = int32_t(rows);
    return true;
}

bool readData(RiffReader& riff, const RiffChunk& wave, CMeasure& m, const WaveFormat& format,
              const ReadOptions& options, ReadReport* report, std::string* error) {
    RiffChunk data;
    if (!locateData(riff, wave, m, format.bytesPerSample, data, options, report, error))
        return false;
    std::string why;
    if (!m.allocateSamples(&why)) {
        m.sampleCount = 0;
        return fail(error, why);
    }
    int32_t read = readRows(riff, data, m, format);
    if (read < m.sampleCount) {
        m.truncateSamples(read);
        return fail(error, "the data cannot be read after sample " + number(read));
    }
    return true;
}

// Opens the file and reads the format chunk into `m`'s channels.
bool readDescription(RiffReader& riff, RiffChunk& wave, CMeasure& m, WaveFormat& format,
                     const char* path, std::string* error) {
    OpenError opened;
    if (!riff.open(path, &opened))
        return fail(error, opened == OpenError::NotRegularFile ? openErrorText(opened)
                                                               : "the file cannot be opened");
    if (!riff.descend(wave, nullptr, riffId("RIFF"), riffId("WAVE")))
        return fail(error, "the file is not a RIFF WAVE file");
    if (!readFormat(riff, wave, format, error)) return false;
    describeChannels(m, format);
    return true;
}

} // namespace

bool readWave(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
              ReadReport* report) {
    RiffReader riff;
    RiffChunk wave;
    WaveFormat format;
    return readDescription(riff, wave, m, format, path, error) &&
           readData(riff, wave, m, format, options, report, error);
}

bool readWaveHeader(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
                    ReadReport* report) {
    RiffReader riff;
    RiffChunk wave;
    WaveFormat format;
    RiffChunk data;
    return readDescription(riff, wave, m, format, path, error) &&
           locateData(riff, wave, m, format.bytesPerSample, data, options, report, error);
}

#include "measure/wave_format.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "measure/file_io.h"
#include "measure/riff_reader.h"

namespace {

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;
constexpr int64_t PCM_FORMAT_BYTES = 16;
constexpr int64_t EXTENSIBLE_FORMAT_BYTES = 40;
constexpr int64_t MAX_FORMAT_BYTES = 4096;
// The sub-format GUID of integer PCM inside WAVE_FORMAT_EXTENSIBLE, as stored.
constexpr unsigned char PCM_SUBFORMAT[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                             0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// Data are converted in pieces of about this size, not in one copy of the chunk.
constexpr int64_t READ_PIECE_BYTES = 1 << 16;

struct WaveFormat {
    int channels = 0;
    double sampleRate = 0.0;
    int bytesPerSample = 0;
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

// Checks the "fmt " chunk's contents and takes what the reader needs from it.
bool parseFormat(const unsigned char* fmt, int64_t bytes, WaveFormat& format, std::string* error) {
    if (bytes < PCM_FORMAT_BYTES) return fail(error, "the format chunk is too short");
    uint16_t tag = uint16_t(loadInt16(fmt));
    uint16_t bits = uint16_t(loadInt16(fmt + 14));
    if (tag == WAVE_FORMAT_EXTENSIBLE) {
        if (bytes < EXTENSIBLE_FORMAT_BYTES)
            return fail(error, "the extensible format chunk is too short");
        if (std::memcmp(fmt + 24, PCM_SUBFORMAT, sizeof PCM_SUBFORMAT) != 0)
            return fail(error, "the extensible sub-format is not integer PCM");
    } else if (tag != WAVE_FORMAT_PCM) {
        return fail(error, "format tag " + number(tag) + " is not integer PCM");
    }
    int channels = uint16_t(loadInt16(fmt + 2));
    if (channels == 0) return fail(error, "the file declares no channels");
    if (channels > MAX_CHANNELS)
        return fail(error, number(channels) + " channels, at most " + number(MAX_CHANNELS) +
                               " can be read");
    // A sample occupies whole bytes; fewer significant bits sit in the same container.
    if (bits == 0 || bits > 32) return fail(error, number(bits) + "-bit samples cannot be read");
    format.channels = channels;
    format.sampleRate = double(loadUint32(fmt + 4));
    format.bytesPerSample = (bits + 7) / 8;
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

// Converts `values` samples of BYTES bytes each. The width is a constant here
// so that the conversion compiles to a tight loop for each width.
template <int BYTES> void convertPiece(const unsigned char* in, Sample* out, int64_t values) {
    for (int64_t k = 0; k < values; ++k)
        out[k] = Sample{float(sampleValue(in + k * BYTES, BYTES)), 0.0f};
}

void convert(const unsigned char* in, Sample* out, int64_t values, int bytesPerSample) {
    switch (bytesPerSample) {
    case 1:
        return convertPiece<1>(in, out, values);
    case 2:
        return convertPiece<2>(in, out, values);
    case 3:
        return convertPiece<3>(in, out, values);
    default:
        return convertPiece<4>(in, out, values);
    }
}

// Reads and converts the rows of the data chunk; returns the rows converted.
int32_t readRows(RiffReader& riff, const RiffChunk& data, CMeasure& m, int bytesPerSample) {
    int64_t rowBytes = int64_t(bytesPerSample) * m.channelCount;
    int64_t rowsPerPiece = std::min<int64_t>(READ_PIECE_BYTES / rowBytes + 1, m.sampleCount);
    std::vector<unsigned char> piece(size_t(rowsPerPiece * rowBytes));
    int32_t row = 0;
    while (row < m.sampleCount) {
        int64_t wanted = std::min<int64_t>(rowsPerPiece, m.sampleCount - row) * rowBytes;
        int64_t got = riff.read(data, row * rowBytes, piece.data(), wanted);
        int64_t rows = got / rowBytes;
        Sample* out = m.samples + int64_t(row) * m.channelCount;
        convert(piece.data(), out, rows * m.channelCount, bytesPerSample);
        row += int32_t(rows);
        if (got < wanted) break;
    }
    return row;
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
    if (rows * m.channelCount * int64_t(sizeof(Sample)) > INT32_MAX)
        return fail(error, "the samples need more than 2 GiB of memory");
    m.sampleCount = int32_t(rows);
    return true;
}

bool readData(RiffReader& riff, const RiffChunk& wave, CMeasure& m, int bytesPerSample,
              const ReadOptions& options, ReadReport* report, std::string* error) {
    RiffChunk data;
    if (!locateData(riff, wave, m, bytesPerSample, data, options, report, error)) return false;
    int64_t rows = m.sampleCount;
    if (!m.resizeSamples(rows * m.channelCount * int64_t(sizeof(Sample)))) {
        m.sampleCount = 0;
        return fail(error, "not enough memory for the samples");
    }
    int32_t read = readRows(riff, data, m, bytesPerSample);
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
           readData(riff, wave, m, format.bytesPerSample, options, report, error);
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

#include "measure/recovery_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "measure/atomic_file.h"
#include "measure/file_io.h"

namespace {

// The version is part of the magic: a copy left by another layout is refused.
constexpr char MAGIC[8] = {'O', 'N', 'D', 'X', 'R', 'C', 'V', '1'};
constexpr size_t TYPE_NAME_BYTES = 8;
constexpr size_t FIXED_BYTES = sizeof MAGIC + TYPE_NAME_BYTES + 1 + 1 + 4 + 8 + 4 +
                               sizeof(CHeader::path) + sizeof(CHeader::name);
constexpr size_t CHANNEL_BYTES =
    8 + 8 + sizeof(ChannelInfo::unit) + sizeof(ChannelInfo::name) + sizeof(ChannelInfo::reserved);
constexpr size_t COMPONENT_BYTES = sizeof(SignalComponent::name) + 6 * 8;
constexpr size_t PARAMETER_BYTES = 8 + 2 * 8 + 4 + MAX_COMPONENTS * COMPONENT_BYTES;

// Rows converted at a time between a real record's columns and the file's
// rows of pairs.
constexpr int64_t ROWS_AT_A_TIME = 16384;

size_t headerBytes(int channels) {
    return FIXED_BYTES + size_t(channels) * (CHANNEL_BYTES + PARAMETER_BYTES);
}

// Field after field into a byte buffer, in the order Decoder reads them.
struct Encoder {
    std::vector<unsigned char> bytes;

    void raw(const void* p, size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        bytes.insert(bytes.end(), b, b + n);
    }
    void u8(uint8_t v) { bytes.push_back(v); }
    void i32(int32_t v) {
        unsigned char b[4];
        storeInt32(b, v);
        raw(b, 4);
    }
    void u32(uint32_t v) {
        unsigned char b[4];
        storeUint32(b, v);
        raw(b, 4);
    }
    void f64(double v) {
        unsigned char b[8];
        storeDouble(b, v);
        raw(b, 8);
    }
};

struct Decoder {
    const unsigned char* p;

    void raw(void* out, size_t n) {
        std::memcpy(out, p, n);
        p += n;
    }
    // A text field ends in a NUL whatever the file says.
    void text(char* out, size_t n) {
        raw(out, n);
        out[n - 1] = '\0';
    }
    uint8_t u8() { return *p++; }
    int32_t i32() {
        int32_t v = loadInt32(p);
        p += 4;
        return v;
    }
    uint32_t u32() {
        uint32_t v = loadUint32(p);
        p += 4;
        return v;
    }
    double f64() {
        double v = loadDouble(p);
        p += 8;
        return v;
    }
};

void encodeChannel(Encoder& e, const ChannelInfo& info) {
    e.f64(info.coefficient);
    e.f64(info.constant);
    e.raw(info.unit, sizeof info.unit);
    e.raw(info.name, sizeof info.name);
    for (double r : info.reserved)
        e.f64(r);
}

void decodeChannel(Decoder& d, ChannelInfo& info) {
    info.coefficient = d.f64();
    info.constant = d.f64();
    d.text(info.unit, sizeof info.unit);
    d.text(info.name, sizeof info.name);
    for (double& r : info.reserved)
        r = d.f64();
}

void encodeParameters(Encoder& e, const SignalParameters& params) {
    e.f64(params.level);
    e.f64(params.unused[0]);
    e.f64(params.unused[1]);
    e.i32(params.componentCount);
    for (const SignalComponent& c : params.components) {
        e.raw(c.name, sizeof c.name);
        for (double v : {c.frequency, c.a, c.d, c.eta, c.amplitude, c.k})
            e.f64(v);
    }
}

bool decodeParameters(Decoder& d, SignalParameters& params) {
    params.level = d.f64();
    params.unused[0] = d.f64();
    params.unused[1] = d.f64();
    params.componentCount = d.i32();
    for (SignalComponent& c : params.components) {
        d.text(c.name, sizeof c.name);
        for (double* v : {&c.frequency, &c.a, &c.d, &c.eta, &c.amplitude, &c.k})
            *v = d.f64();
    }
    return params.componentCount >= 0 && params.componentCount <= MAX_COMPONENTS;
}

std::vector<unsigned char> encodeHeader(const CMeasure& m, FileType type) {
    Encoder e;
    e.raw(MAGIC, sizeof MAGIC);
    char typeName[TYPE_NAME_BYTES] = {};
    copyField(typeName, sizeof typeName, fileTypeRow(type).name);
    e.raw(typeName, sizeof typeName);
    e.u8(uint8_t(m.sampleFormat));
    e.u8(uint8_t(m.channelCount));
    e.i32(m.sampleCount);
    e.f64(m.sampleRate);
    e.u32(m.date);
    e.raw(m.path, sizeof m.path);
    e.raw(m.name, sizeof m.name);
    for (int c = 0; c < m.channelCount; ++c)
        encodeChannel(e, m.channels[c]);
    for (int c = 0; c < m.channelCount; ++c)
        encodeParameters(e, m.signalParameters[c]);
    return e.bytes;
}

bool refuse(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// The fixed part: layout, sizes and the type; checked before the rest is read.
bool decodeFixed(Decoder& d, CMeasure& m, FileType* type, std::string* error) {
    char magic[sizeof MAGIC];
    d.raw(magic, sizeof magic);
    if (std::memcmp(magic, MAGIC, sizeof MAGIC) != 0)
        return refuse(error, "not a recovery copy of this version");
    char typeName[TYPE_NAME_BYTES];
    d.text(typeName, sizeof typeName);
    m.sampleFormat = int8_t(d.u8());
    m.channelCount = d.u8();
    m.sampleCount = d.i32();
    m.sampleRate = d.f64();
    m.date = d.u32();
    d.text(m.path, sizeof m.path);
    d.text(m.name, sizeof m.name);
    if (m.sampleFormat != SAMPLE_FORMAT_REAL && m.sampleFormat != SAMPLE_FORMAT_COMPLEX)
        return refuse(error, "unknown sample layout");
    if (m.channelCount < 1 || m.channelCount > MAX_CHANNELS)
        return refuse(error, "channel count outside 1..64");
    if (m.sampleCount < 0) return refuse(error, "negative sample count");
    const FileTypeRow* row = fileTypeRowNamed(typeName);
    if (!row) return refuse(error, "unknown file type");
    *type = row->id;
    return true;
}

// The file keeps every record as rows of complex pairs, as it is held in
// memory for a complex one.
bool writePairRows(AtomicFile& out, const CMeasure& m) {
    if (const Sample* pairs = m.pairRows())
        return out.write(pairs, size_t(m.sampleCount) * size_t(m.channelCount) * sizeof(Sample));
    std::vector<Sample> rows;
    for (int64_t first = 0; first < m.sampleCount; first += ROWS_AT_A_TIME) {
        const int64_t n = std::min(ROWS_AT_A_TIME, m.sampleCount - first);
        rows.assign(size_t(n * m.channelCount), Sample{0.0f, 0.0f});
        for (int c = 0; c < m.channelCount; ++c) {
            const float* column = m.column(c) + first;
            for (int64_t i = 0; i < n; ++i)
                rows[size_t(i * m.channelCount + c)].re = column[i];
        }
        if (!out.write(rows.data(), rows.size() * sizeof(Sample))) return false;
    }
    return true;
}

bool readPairRows(FileHandle& file, CMeasure& m) {
    if (Sample* pairs = m.pairRows())
        return file.readExact(pairs,
                              size_t(m.sampleCount) * size_t(m.channelCount) * sizeof(Sample));
    std::vector<Sample> rows;
    for (int64_t first = 0; first < m.sampleCount; first += ROWS_AT_A_TIME) {
        const int64_t n = std::min(ROWS_AT_A_TIME, m.sampleCount - first);
        rows.resize(size_t(n * m.channelCount));
        if (!file.readExact(rows.data(), rows.size() * sizeof(Sample))) return false;
        for (int c = 0; c < m.channelCount; ++c) {
            float* column = m.column(c) + first;
            for (int64_t i = 0; i < n; ++i)
                column[i] = rows[size_t(i * m.channelCount + c)].re;
        }
    }
    return true;
}

} // namespace

bool writeRecoveryFile(const CMeasure& m, FileType type, const std::string& path,
                       std::string* error) {
    if (const char* why = noSamplesReason(m)) return refuse(error, why);
    if (m.channelCount > MAX_CHANNELS) return refuse(error, "more than 64 channels");
    AtomicFile out;
    if (!out.open(path)) return refuse(error, out.error());
    std::vector<unsigned char> head = encodeHeader(m, type);
    bool written = out.write(head.data(), head.size()) && writePairRows(out, m);
    if (!out.commit(written)) return refuse(error, out.error());
    return true;
}

bool readRecoveryFile(CMeasure& m, FileType* type, const std::string& path, std::string* error) {
    OpenError opened;
    FileHandle file = FileHandle::openRead(path.c_str(), &opened);
    if (!file.valid()) return refuse(error, openErrorText(opened));
    std::vector<unsigned char> head(FIXED_BYTES);
    if (!file.readExact(head.data(), head.size())) return refuse(error, "file too short");
    Decoder fixed{head.data()};
    if (!decodeFixed(fixed, m, type, error)) return false;

    const size_t more = headerBytes(m.channelCount) - FIXED_BYTES;
    const int64_t sampleBytes = int64_t(m.sampleCount) * m.channelCount * int64_t(sizeof(Sample));
    // The sizes are checked against the file before the block is allocated.
    if (file.remaining() != int64_t(more) + sampleBytes)
        return refuse(error, "the file's size does not match its header");
    head.resize(more);
    if (!file.readExact(head.data(), more)) return refuse(error, "file too short");
    Decoder d{head.data()};
    for (int c = 0; c < m.channelCount; ++c)
        decodeChannel(d, m.channels[c]);
    for (int c = 0; c < m.channelCount; ++c)
        if (!decodeParameters(d, m.signalParameters[c]))
            return refuse(error, "component count outside 0..10 in channel " + std::to_string(c));
    if (!m.allocateSamples(error)) return false;
    if (sampleBytes > 0 && !readPairRows(file, m))
        return refuse(error, "file too short for the samples");
    return true;
}

#include "measure/mat5_writer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "measure/channel_calibration.h"
#include "measure/iso_date.h"
#include "measure/text_encoding.h"

namespace {

constexpr uint32_t MI_INT8 = 1, MI_INT32 = 5, MI_UINT32 = 6, MI_DOUBLE = 9, MI_MATRIX = 14,
                   MI_UTF8 = 16;
constexpr uint32_t MX_CELL = 1, MX_CHAR = 4, MX_DOUBLE = 6;

void put32(std::string& out, uint32_t v) {
    const char bytes[4] = {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF),
                           char(v >> 24)};
    out.append(bytes, 4);
}

uint64_t padded(uint64_t bytes) {
    return (bytes + 7) / 8 * 8;
}

// One data element: its tag, its bytes and the padding to 8 bytes; a name
// of at most 4 bytes in the small form, as MATLAB writes it.
std::string element(uint32_t type, const std::string& data, bool small = false) {
    std::string out;
    if (small && data.size() <= 4) {
        put32(out, uint32_t(data.size()) << 16 | type);
        return out + data + std::string(4 - data.size(), '\0');
    }
    put32(out, type);
    put32(out, uint32_t(data.size()));
    return out + data + std::string(padded(data.size()) - data.size(), '\0');
}

// A matrix's head: flags, dimensions and name, before its data.
std::string matrixHead(uint32_t cls, uint32_t rows, uint32_t columns, const std::string& name) {
    std::string flags, dims;
    put32(flags, cls);
    put32(flags, 0);
    put32(dims, rows);
    put32(dims, columns);
    return element(MI_UINT32, flags) + element(MI_INT32, dims) + element(MI_INT8, name, true);
}

std::string matrix(const std::string& content) {
    std::string out;
    put32(out, MI_MATRIX);
    put32(out, uint32_t(content.size()));
    return out + content;
}

// A 1 x characters char row of UTF-8.
std::string charMatrix(const std::string& name, const char* bytes) {
    const std::string text = displayText(bytes);
    uint32_t characters = 0;
    for (char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return matrix(matrixHead(MX_CHAR, 1, characters, name) + element(MI_UTF8, text));
}

std::string scalarMatrix(const std::string& name, double value) {
    std::string data(8, '\0');
    std::memcpy(data.data(), &value, 8);
    return matrix(matrixHead(MX_DOUBLE, 1, 1, name) + element(MI_DOUBLE, data));
}

// `calibration` when a channel was calibrated: `data` holds the calibrated
// values, and each cell says how from the raw ones ("" for a channel that
// was not). Text, not numbers: a second numeric matrix would make a reader
// ask which one holds the samples.
std::string calibrationCell(const CMeasure& m) {
    bool scaled = false;
    for (int c = 0; c < m.channelCount; ++c)
        scaled = scaled || channelIsScaled(m.channels[c]);
    if (!scaled) return {};
    std::string content = matrixHead(MX_CELL, 1, uint32_t(m.channelCount), "calibration");
    for (int c = 0; c < m.channelCount; ++c) {
        const ChannelInfo& info = m.channels[c];
        content += charMatrix("", channelIsScaled(info) ? calibrationText(info).c_str() : "");
    }
    return matrix(content);
}

std::string cellOfTexts(const std::string& name, const CMeasure& m, bool units) {
    std::string content = matrixHead(MX_CELL, 1, uint32_t(m.channelCount), name);
    for (int c = 0; c < m.channelCount; ++c)
        content += charMatrix("", units ? m.channels[c].unit : m.channels[c].name);
    return matrix(content);
}

std::string fileHeader() {
    std::string header = "MATLAB 5.0 MAT-file, written by Ondarix";
    header.resize(116, ' ');
    return header + std::string(8, '\0') + std::string{'\0', '\x01', 'I', 'M'};
}

// `data`: its head, then the samples channel by channel (MATLAB's column
// order) converted a piece at a time.
bool writeData(const CMeasure& m, AtomicFile& out) {
    const uint64_t count = uint64_t(m.sampleCount) * uint64_t(m.channelCount);
    std::string head =
        matrixHead(MX_DOUBLE, uint32_t(m.sampleCount), uint32_t(m.channelCount), "data");
    std::string tag;
    put32(tag, MI_MATRIX);
    put32(tag, uint32_t(head.size() + 8 + count * 8));
    put32(head, MI_DOUBLE);
    put32(head, uint32_t(count * 8));
    if (!out.write(tag.data(), tag.size()) || !out.write(head.data(), head.size())) return false;
    std::vector<double> piece(1 << 16);
    for (int c = 0; c < m.channelCount; ++c)
        for (int32_t first = 0; first < m.sampleCount; first += int32_t(piece.size())) {
            const int32_t n = std::min<int32_t>(int32_t(piece.size()), m.sampleCount - first);
            for (int32_t i = 0; i < n; ++i)
                piece[size_t(i)] = m.value(c, first + i);
            if (!out.write(piece.data(), size_t(n) * 8)) return false;
        }
    return true; // 8-byte numbers need no padding
}

} // namespace

bool writeMat5(const CMeasure& m, AtomicFile& out) {
    std::string rest = scalarMatrix("fs", m.sampleRate) + cellOfTexts("names", m, false) +
                       cellOfTexts("units", m, true) + charMatrix("name", m.name);
    if (m.date) rest += charMatrix("date", isoDateText(m.date).c_str());
    rest += calibrationCell(m);
    const std::string header = fileHeader();
    return out.write(header.data(), header.size()) && writeData(m, out) &&
           out.write(rest.data(), rest.size());
}

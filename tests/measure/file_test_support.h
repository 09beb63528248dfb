// Scratch files, byte-level file building and the consistency every reader
// must keep, for the file-format tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "measure/measure.h"
#include "support/temp_dir.h"

using Bytes = std::vector<unsigned char>;

// One file in a scratch folder of its own, removed afterwards.
class ScratchFile {
  public:
    explicit ScratchFile(const char* suffix) : path_(dir_.file(std::string("file") + suffix)) {}
    const char* path() const { return path_.c_str(); }
    // Writes the first `length` bytes (all by default).
    void write(const Bytes& bytes, size_t length = SIZE_MAX) const {
        writeBytes(path_, Bytes(bytes.begin(), bytes.begin() + std::min(length, bytes.size())));
    }
    Bytes read() const { return readBytes(path_); }

  private:
    TempDir dir_; // before path_, which is built from it
    std::string path_;
};

// Little-endian values written into or appended to a byte buffer.
inline void poke(Bytes& b, size_t at, uint64_t value, int bytes) {
    if (b.size() < at + size_t(bytes)) b.resize(at + size_t(bytes));
    for (int i = 0; i < bytes; ++i)
        b[at + size_t(i)] = uint8_t(value >> (8 * i));
}
inline void pokeDouble(Bytes& b, size_t at, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    poke(b, at, bits, 8);
}
inline double peekDouble(const Bytes& b, size_t at) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | b[at + size_t(i)];
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}
inline void append(Bytes& b, uint64_t value, int bytes) {
    poke(b, b.size(), value, bytes);
}
inline void append(Bytes& b, const char* text) {
    // Byte by byte: GCC 12 at -O3 takes insert() of a C string into an empty
    // vector for an overflow (-Wstringop-overflow, a false positive).
    for (; *text; ++text)
        b.push_back(uint8_t(*text));
}
inline void append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

// What every reader must leave behind, whatever the file held.
inline void expectConsistent(const CMeasure& m) {
    EXPECT_GE(m.channelCount, 0);
    EXPECT_LE(m.channelCount, MAX_CHANNELS);
    EXPECT_GE(m.sampleCount, 0);
    if (m.hasSamples()) {
        EXPECT_EQ(m.sampleBytes(), samplesBytes(m.sampleCount, m.channelCount, m.sampleFormat));
    } else {
        EXPECT_EQ(m.sampleBytes(), 0);
    }
}

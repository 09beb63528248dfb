// Reads a text file in lines of at most 511 characters, as fgets with a
// 512-byte buffer does: a longer line comes in several pieces.
#pragma once

#include <cstddef>
#include <vector>

#include "measure/file_io.h"

class LineReader {
  public:
    static constexpr size_t MAX_LINE = 511;

    explicit LineReader(FileHandle& file, size_t bufferBytes = 1 << 20);

    // The next line, its end of line included; false at the end of the file.
    bool next(const char*& line, size_t& length);
    // Starts again at the beginning of the file.
    bool rewind();

  private:
    void refill();

    FileHandle& file_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
};

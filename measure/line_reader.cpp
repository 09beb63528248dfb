#include "measure/line_reader.h"

#include <cstring>

LineReader::LineReader(FileHandle& file, size_t bufferBytes)
    : file_(file), buffer_(bufferBytes < 4 * MAX_LINE ? 4 * MAX_LINE : bufferBytes) {}

void LineReader::refill() {
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (!eof_ && end_ < buffer_.size()) {
        size_t got = file_.read(buffer_.data() + end_, buffer_.size() - end_);
        if (got == 0) eof_ = true;
        end_ += got;
    }
}

bool LineReader::next(const char*& line, size_t& length) {
    if (end_ - pos_ <= MAX_LINE && !eof_) refill();
    size_t available = end_ - pos_;
    if (available == 0) return false;
    size_t window = available < MAX_LINE ? available : MAX_LINE;
    const char* start = buffer_.data() + pos_;
    const void* newline = std::memchr(start, '\n', window);
    length = newline ? size_t(static_cast<const char*>(newline) - start) + 1 : window;
    line = start;
    pos_ += length;
    return true;
}

bool LineReader::rewind() {
    pos_ = end_ = 0;
    eof_ = false;
    return file_.rewind();
}

// A small reader for RIFF files (".WAV" and relatives). Chunks are found by id,
// RIFF and LIST chunks also by form type, inside a parent chunk; every size a
// file declares is checked against its parent and the real size of the file,
// so a corrupted header can never make a read leave the chunk it belongs to.
#pragma once

#include <cstdint>

#include "measure/file_io.h"

// The four-character code of a chunk id or form type, as it is stored.
constexpr uint32_t riffId(const char (&id)[5]) {
    return uint32_t(uint8_t(id[0])) | uint32_t(uint8_t(id[1])) << 8 |
           uint32_t(uint8_t(id[2])) << 16 | uint32_t(uint8_t(id[3])) << 24;
}

struct RiffChunk {
    uint32_t id = 0;
    uint32_t size = 0;      // data size as the file declares it
    uint32_t formType = 0;  // RIFF and LIST chunks only
    int64_t dataOffset = 0; // file offset of the data (for RIFF and LIST: of the form type)
    int64_t available = 0;  // data bytes really there: `size` clamped to the parent and the file
};

class RiffReader {
  public:
    RiffReader() = default;
    RiffReader(const RiffReader&) = delete;
    RiffReader& operator=(const RiffReader&) = delete;
    ~RiffReader();

    // Opens a regular file (see FileHandle::openRead); `*error` says why not.
    bool open(const char* path, OpenError* error = nullptr);
    void close();
    bool isOpen() const { return file_.valid(); }
    int64_t fileSize() const { return fileSize_; }

    // Searches from the current position for the next chunk `id` inside
    // `parent` (the whole file when null). RIFF and LIST chunks must also carry
    // `formType` when it is not 0. On success the position is at the chunk's
    // contents (after the form type for RIFF and LIST).
    bool descend(RiffChunk& chunk, const RiffChunk* parent, uint32_t id, uint32_t formType = 0);
    // Moves past the end of `chunk` and its pad byte, so that the next descend
    // looks at the chunks after it.
    void ascend(const RiffChunk& chunk);
    // Moves back to the first chunk inside `parent`, so that the next descend
    // searches all of it: RIFF does not fix the order of the chunks.
    void rewind(const RiffChunk& parent);
    // Reads at most `bytes` of the chunk's data starting `offset` bytes into it;
    // never beyond the available data. Returns the number of bytes read.
    int64_t read(const RiffChunk& chunk, int64_t offset, void* buffer, int64_t bytes);

  private:
    int64_t readAt(int64_t offset, void* buffer, int64_t bytes);

    FileHandle file_;
    int64_t fileSize_ = 0;
    int64_t position_ = 0;
};

// Whether `id` names a chunk that holds a form type and further chunks.
bool isListChunk(uint32_t id);

// Small POSIX file helpers shared by the binary readers and writers.
#pragma once

#include <cstddef>
#include <cstdint>

// Why FileHandle::openRead gave no file.
enum class OpenError { None, CannotOpen, NotRegularFile };
// "cannot open the file", "not a regular file"; empty for None.
const char* openErrorText(OpenError error);

// An open file descriptor closed when the object goes away.
class FileHandle {
  public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileHandle& operator=(FileHandle&& other) noexcept;
    ~FileHandle();

    // Opens a regular file for reading. Anything else (a directory, a FIFO, a
    // device) is refused without waiting on it; `*error` says which failure.
    static FileHandle openRead(const char* path, OpenError* error = nullptr);
    // Creates or truncates for writing.
    static FileHandle create(const char* path);

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Bytes from the current position to the end of a regular file; -1 when unknown.
    int64_t remaining() const;
    // Reads up to `n` bytes, retrying short reads; returns the bytes read.
    size_t read(void* buffer, size_t n);
    bool readExact(void* buffer, size_t n) { return read(buffer, n) == n; }
    // Reads up to `n` bytes at `offset` without moving the position (safe
    // from several threads at once); returns the bytes read.
    size_t readAt(void* buffer, size_t n, int64_t offset) const;
    // The current position; -1 when unknown.
    int64_t position() const;
    bool writeAll(const void* buffer, size_t n);
    bool rewind();
    bool close();

  private:
    int fd_ = -1;
};

// Little-endian field access on byte buffers. The files are little-endian, as
// are the machines we build for.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian host expected");
double loadDouble(const unsigned char* p);
int32_t loadInt32(const unsigned char* p);
uint32_t loadUint32(const unsigned char* p);
int16_t loadInt16(const unsigned char* p);
void storeDouble(unsigned char* p, double v);
void storeInt32(unsigned char* p, int32_t v);
void storeUint32(unsigned char* p, uint32_t v);
void storeInt16(unsigned char* p, int16_t v);

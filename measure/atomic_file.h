// Writing a file so that it is replaced whole or not at all: the bytes go to
// a hidden temporary file in the target's folder, which is flushed to disk
// and renamed over the target only once everything was written. A write that
// fails, or a writer killed half-way, leaves the old file as it was.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

#include "measure/file_io.h"

class AtomicFile {
  public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // A write never committed is thrown away.
    ~AtomicFile() { discard(); }

    // Starts a write of `path`; through a symbolic link, the link's target
    // is replaced and the link stays. A target that exists and is not a
    // regular file (a FIFO, a folder, a device) is refused without being
    // opened. False with error() on failure.
    bool open(const std::string& path);
    // The temporary file, for writers that write their pieces themselves.
    FileHandle& file() { return file_; }
    // Its name, for a library that opens a file by name and writes it itself;
    // commit() syncs and renames what it wrote.
    const std::string& temporaryPath() const { return temporary_; }
    bool write(const void* data, size_t size) { return file_.writeAll(data, size); }
    // Writes through a stdio stream on the temporary file, closed (and so
    // flushed) before this returns; false when `body` or the flush failed.
    bool writeStream(const std::function<bool(std::FILE*)>& body);
    // Ends the write: with `written` false (the caller's write failed, errno
    // telling why) the temporary file is removed; otherwise it is synced to
    // disk, given the old file's permissions and renamed over the target.
    bool commit(bool written = true);
    // Removes the temporary file; the target stays as it was.
    void discard();

    // Why the write failed: "not a regular file" or the system's reason.
    const std::string& error() const { return error_; }
    // The file that is replaced (symbolic links followed).
    const std::string& target() const { return target_; }

  private:
    bool fail(int error);
    bool createTemporary();

    std::string target_;
    std::string temporary_;
    std::string error_;
    FileHandle file_;
};

// Writes `bytes` as the whole of `path` the same way; false with `*error`
// holding why.
bool replaceFile(const std::string& path, const std::string& bytes, std::string* error);

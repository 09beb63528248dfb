#include "measure/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileHandle::~FileHandle() {
    close();
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

const char* openErrorText(OpenError error) {
    switch (error) {
    case OpenError::None:
        return "";
    case OpenError::CannotOpen:
        return "cannot open the file";
    case OpenError::NotRegularFile:
        return "not a regular file";
    }
    return "";
}

FileHandle FileHandle::openRead(const char* path, OpenError* error) {
    // Without O_NONBLOCK, opening a FIFO waits until something writes to it.
    FileHandle file(::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    OpenError why = OpenError::None;
    struct stat st;
    if (!file.valid() || fstat(file.fd(), &st) != 0) {
        why = OpenError::CannotOpen;
    } else if (!S_ISREG(st.st_mode)) {
        why = OpenError::NotRegularFile;
    } else {
        int flags = fcntl(file.fd(), F_GETFL);
        if (flags < 0 || fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK) != 0)
            why = OpenError::CannotOpen;
        else
            posix_fadvise(file.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    if (why != OpenError::None) file.close();
    if (error) *error = why;
    return file;
}

FileHandle FileHandle::create(const char* path) {
    return FileHandle(::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

int64_t FileHandle::remaining() const {
    struct stat st;
    if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    off_t pos = lseek(fd_, 0, SEEK_CUR);
    if (pos < 0) return -1;
    return st.st_size > pos ? int64_t(st.st_size - pos) : 0;
}

size_t FileHandle::read(void* buffer, size_t n) {
    if (fd_ < 0) return 0;
    auto* p = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < n) {
        // Large reads go in pieces the kernel accepts in one call.
        size_t want = n - done < (size_t(1) << 30) ? n - done : (size_t(1) << 30);
        ssize_t got = ::read(fd_, p + done, want);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += size_t(got);
    }
    return done;
}

size_t FileHandle::readAt(void* buffer, size_t n, int64_t offset) const {
    if (fd_ < 0 || offset < 0) return 0;
    auto* p = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < n) {
        size_t want = n - done < (size_t(1) << 30) ? n - done : (size_t(1) << 30);
        ssize_t got = ::pread(fd_, p + done, want, off_t(offset + int64_t(done)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += size_t(got);
    }
    return done;
}

int64_t FileHandle::position() const {
    if (fd_ < 0) return -1;
    off_t at = ::lseek(fd_, 0, SEEK_CUR);
    return at < 0 ? -1 : int64_t(at);
}

bool FileHandle::writeAll(const void* buffer, size_t n) {
    if (fd_ < 0) return false;
    auto* p = static_cast<const unsigned char*>(buffer);
    while (n > 0) {
        ssize_t put = ::write(fd_, p, n);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        n -= size_t(put);
    }
    return true;
}

bool FileHandle::rewind() {
    return fd_ >= 0 && lseek(fd_, 0, SEEK_SET) == 0;
}

bool FileHandle::close() {
    if (fd_ < 0) return true;
    int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
}

double loadDouble(const unsigned char* p) {
    double v;
    std::memcpy(&v, p, 8);
    return v;
}
int32_t loadInt32(const unsigned char* p) {
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
uint32_t loadUint32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
int16_t loadInt16(const unsigned char* p) {
    int16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
void storeDouble(unsigned char* p, double v) {
    std::memcpy(p, &v, 8);
}
void storeInt32(unsigned char* p, int32_t v) {
    std::memcpy(p, &v, 4);
}
void storeUint32(unsigned char* p, uint32_t v) {
    std::memcpy(p, &v, 4);
}
void storeInt16(unsigned char* p, int16_t v) {
    std::memcpy(p, &v, 2);
}

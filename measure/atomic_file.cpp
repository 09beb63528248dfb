#include "measure/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "measure/file_target.h"

namespace {

const char* const NOT_REGULAR = "not a regular file";
// Room left in a 255-byte name for ".", ".tmp." and the random part.
const size_t MAX_KEPT_NAME = 200;
const int MAX_ATTEMPTS = 100;

// Six letters or digits that differ between processes, calls and moments.
std::string randomSuffix() {
    static std::atomic<uint64_t> calls{0};
    uint64_t x = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    x ^= uint64_t(::getpid()) << 40;
    x += (calls.fetch_add(1) + 1) * 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix;
    for (int i = 0; i < 6; ++i, x /= 62)
        suffix.push_back(letters[x % 62]);
    return suffix;
}

std::string reasonOf(int error) {
    return error ? std::strerror(error) : "the data could not be written";
}

} // namespace

bool AtomicFile::open(const std::string& path) {
    discard();
    error_.clear();
    target_ = linkTarget(path);
    struct stat info;
    bool exists = ::stat(target_.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        error_ = NOT_REGULAR;
        return false;
    }
    if (!createTemporary()) return fail(errno);
    // The new file gets the permissions the user gave the old one; a new
    // one those that open() gives under the umask.
    if (exists && ::fchmod(file_.fd(), info.st_mode & 07777) != 0) return fail(errno);
    errno = 0;
    return true;
}

// O_EXCL rather than mkstemp: the file is created with 0666 under the
// umask, as a file written in place would be, not private.
bool AtomicFile::createTemporary() {
    const std::string stem =
        directoryOf(target_) + "/." + fileNameOf(target_).substr(0, MAX_KEPT_NAME) + ".tmp.";
    for (int attempt = 0; attempt < MAX_ATTEMPTS; ++attempt) {
        std::string name = stem + randomSuffix();
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            file_ = FileHandle(fd);
            temporary_ = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool AtomicFile::writeStream(const std::function<bool(std::FILE*)>& body) {
    int copy = file_.valid() ? ::fcntl(file_.fd(), F_DUPFD_CLOEXEC, 0) : -1;
    std::FILE* stream = copy >= 0 ? ::fdopen(copy, "wb") : nullptr;
    if (!stream) {
        if (copy >= 0) ::close(copy);
        return false;
    }
    std::setvbuf(stream, nullptr, _IOFBF, 1 << 20);
    bool written = body(stream);
    int why = errno;
    bool closed = std::fclose(stream) == 0;
    if (!written) errno = why;
    return written && closed;
}

bool AtomicFile::commit(bool written) {
    if (!file_.valid()) {
        if (error_.empty()) error_ = "the file was not opened";
        return false;
    }
    if (!written) return fail(errno);
    if (::fsync(file_.fd()) != 0 || !file_.close()) return fail(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return fail(errno);
    temporary_.clear();
    syncDirectory(directoryOf(target_));
    return true;
}

void AtomicFile::discard() {
    file_.close();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool AtomicFile::fail(int error) {
    error_ = reasonOf(error);
    discard();
    return false;
}

bool replaceFile(const std::string& path, const std::string& bytes, std::string* error) {
    AtomicFile file;
    bool ok = file.open(path) && file.commit(file.write(bytes.data(), bytes.size()));
    if (!ok && error) *error = file.error();
    return ok;
}

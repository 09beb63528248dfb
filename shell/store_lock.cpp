#include "shell/store_lock.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

// Polled rather than blocking, so that a program that keeps the lock for
// good cannot hang ours at exit.
const auto POLL_INTERVAL = std::chrono::milliseconds(2);

} // namespace

std::string storeLockPath(const std::string& storePath) {
    return storePath + ".lock";
}

bool StoreLock::acquire(const std::string& storePath, std::string& reason, int waitMs) {
    release();
    std::string path = storeLockPath(storePath);
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        reason = "Cannot open the lock file " + path + ": " + std::strerror(errno);
        return false;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK) {
            reason = "Cannot lock " + path + ": " + std::strerror(error);
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%g", waitMs / 1000.0);
            reason = "Another program kept the settings locked for " + std::string(seconds) +
                     " s (" + path + ")";
            break;
        }
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
    release();
    return false;
}

void StoreLock::release() {
    if (fd < 0) return;
    ::close(fd); // closing the only descriptor drops the lock
    fd = -1;
}

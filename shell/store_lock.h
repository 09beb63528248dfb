// An advisory lock that keeps the read-merge-write of a store to one process
// at a time. It locks a file of its own beside the store ("<store>.lock"),
// since a save replaces the store itself by a rename. The lock file stays:
// removing it would let a waiting process lock a file nobody else sees.
#pragma once

#include <string>

// How long a save waits for another program's save to finish.
constexpr int STORE_LOCK_WAIT_MS = 10000;

std::string storeLockPath(const std::string& storePath);

class StoreLock {
  public:
    StoreLock() = default;
    ~StoreLock() { release(); }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    // Takes the lock of the store at `storePath`, waiting at most `waitMs`;
    // false with the reason when it could not be had.
    bool acquire(const std::string& storePath, std::string& reason,
                 int waitMs = STORE_LOCK_WAIT_MS);
    void release();

  private:
    int fd = -1;
};

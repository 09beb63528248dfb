#include "shell/registry_key.h"
#include "shell/store_lock.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const KEY = "Software\\KELVO\\Ondarix\\3.0";

std::string valueName(int writer, int i) {
    return "w" + std::to_string(writer) + "_" + std::to_string(i);
}

// One program saving its own values one save at a time; the exit code
// says whether every save succeeded.
[[noreturn]] void saveValues(const std::string& root, int writer, int count) {
    ::alarm(60); // a child that hangs dies, and so fails the test, instead of hanging it
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        RegistryKey key(root);
        ok = key.createKey(KEY) && key.setInt(valueName(writer, i), i) && key.closeKey();
    }
    ::_exit(ok ? 0 : 1);
}

} // namespace

// Four programs saving at once, 100 saves each: no save may undo another.
TEST(StoreLock, ConcurrentSavesLoseNoValue) {
    const int writers = 4, count = 100;
    TempDir tmp;
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) saveValues(tmp.path(), w, count);
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    RegistryKey key(tmp.path());
    ASSERT_TRUE(key.openKey(KEY));
    int kept = 0;
    for (int w = 0; w < writers; ++w)
        for (int i = 0; i < count; ++i) {
            int32_t value = -1;
            kept += key.queryInt(valueName(w, i), value) && value == i;
        }
    EXPECT_EQ(kept, writers * count);
}

TEST(StoreLock, SaveThatCannotLockFailsAndSaysWhy) {
    TempDir tmp;
    std::string store = tmp.file("3.0.reg");
    StoreLock held;
    std::string reason;
    ASSERT_TRUE(held.acquire(store, reason));
    StoreLock waiting;
    EXPECT_FALSE(waiting.acquire(store, reason, 50));
    EXPECT_NE(reason.find(store + ".lock"), std::string::npos) << reason;
    held.release();
    EXPECT_TRUE(waiting.acquire(store, reason, 50));
}

#include "shell/recovery_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "measure/recovery_format.h"

namespace {

constexpr const char* SUFFIX = ".recovery";

bool isAbsolute(const char* path) {
    return path && path[0] == '/';
}

// Every missing folder on the way, readable by the user only: the copies hold
// the user's measurements.
bool makeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string prefix = folder.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

// Field 22 of /proc/<pid>/stat, after the command name in parentheses (which
// may hold blanks and parentheses itself); 0 when it cannot be read.
unsigned long long startTicks(long pid) {
    std::string name = "/proc/" + std::to_string(pid) + "/stat";
    std::FILE* f = std::fopen(name.c_str(), "r");
    if (!f) return 0;
    char line[1024];
    size_t n = std::fread(line, 1, sizeof line - 1, f);
    std::fclose(f);
    line[n] = '\0';
    const char* p = std::strrchr(line, ')');
    if (!p) return 0;
    // State is field 3; the start time is 19 fields further.
    for (int field = 2; field < 22 && p; ++field)
        p = std::strchr(p + 1, ' ');
    return p ? std::strtoull(p + 1, nullptr, 10) : 0;
}

// "<pid>-<start>-<serial>.recovery"; false for any other name.
bool parseEntryName(const std::string& name, RecoveryEntry& entry) {
    const size_t suffix = std::strlen(SUFFIX);
    if (name.size() <= suffix || name.compare(name.size() - suffix, suffix, SUFFIX) != 0)
        return false;
    long pid = 0;
    unsigned long long start = 0;
    int serial = 0;
    int used = 0;
    std::string stem = name.substr(0, name.size() - suffix);
    if (std::sscanf(stem.c_str(), "%ld-%llu-%d%n", &pid, &start, &serial, &used) != 3 ||
        size_t(used) != stem.size() || pid <= 0 || serial <= 0)
        return false;
    entry.owner = {pid, start};
    entry.serial = serial;
    return true;
}

} // namespace

std::string recoveryFolder() {
    const char* xdg = std::getenv("XDG_STATE_HOME");
    if (isAbsolute(xdg)) return std::string(xdg) + "/ondarix";
    const char* home = std::getenv("HOME");
    if (isAbsolute(home)) return std::string(home) + "/.local/state/ondarix";
    return std::string();
}

ProcessTag currentProcess() {
    long pid = long(::getpid());
    return {pid, startTicks(pid)};
}

bool processRunning(const ProcessTag& tag) {
    if (tag.pid <= 0) return false;
    if (::kill(pid_t(tag.pid), 0) != 0 && errno != EPERM) return false;
    // The id may have gone to another process since; its start tells.
    unsigned long long start = startTicks(tag.pid);
    return start == 0 || tag.start == 0 || start == tag.start;
}

RecoveryStore::RecoveryStore(std::string folder, ProcessTag self)
    : folder_(std::move(folder)), self_(self) {}

std::string RecoveryStore::entryPath(int serial) const {
    return folder_ + "/" + std::to_string(self_.pid) + "-" + std::to_string(self_.start) + "-" +
           std::to_string(serial) + SUFFIX;
}

bool RecoveryStore::write(int serial, const CMeasure& m, FileType type, std::string* error) const {
    if (folder_.empty() || !makeFolders(folder_)) {
        if (error) *error = "cannot make the folder " + folder_;
        return false;
    }
    return writeRecoveryFile(m, type, entryPath(serial), error);
}

void RecoveryStore::remove(int serial) const {
    ::unlink(entryPath(serial).c_str());
}

bool RecoveryStore::adopt(const RecoveryEntry& entry, int serial) const {
    return ::rename(entry.path.c_str(), entryPath(serial).c_str()) == 0;
}

std::vector<RecoveryEntry> RecoveryStore::orphans() const {
    std::vector<RecoveryEntry> found;
    DIR* dir = folder_.empty() ? nullptr : ::opendir(folder_.c_str());
    if (!dir) return found;
    while (const dirent* item = ::readdir(dir)) {
        RecoveryEntry entry;
        if (!parseEntryName(item->d_name, entry) || processRunning(entry.owner)) continue;
        entry.path = folder_ + "/" + item->d_name;
        struct stat info;
        if (::stat(entry.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        entry.written = info.st_mtime;
        found.push_back(entry);
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end(), [](const RecoveryEntry& a, const RecoveryEntry& b) {
        return a.written != b.written ? a.written < b.written : a.path < b.path;
    });
    return found;
}

std::string setAsideRecoveryEntry(const RecoveryEntry& entry) {
    std::string aside = entry.path + ".unreadable";
    return ::rename(entry.path.c_str(), aside.c_str()) == 0 ? aside : std::string();
}

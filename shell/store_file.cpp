#include "shell/store_file.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const TEMPORARY_INFIX = ".tmp.";

// Six characters as mkstemp puts in place of "XXXXXX".
bool isTemporarySuffix(const std::string& suffix) {
    if (suffix.size() != 6) return false;
    for (char c : suffix) {
        bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum) return false;
    }
    return true;
}

// Earlier versions wrote through "<store>.XXXXXX", a pattern a user's own
// file may match; only a suffix that looks drawn at random counts.
bool isLegacyTemporarySuffix(const std::string& suffix) {
    bool digit = false, upper = false, lower = false;
    for (char c : suffix) {
        digit |= c >= '0' && c <= '9';
        upper |= c >= 'A' && c <= 'Z';
        lower |= c >= 'a' && c <= 'z';
    }
    return isTemporarySuffix(suffix) && digit && upper && lower;
}

bool isStaleTemporary(const std::string& name, const std::string& store) {
    const std::string ours = store + TEMPORARY_INFIX;
    if (name.compare(0, ours.size(), ours) == 0) return isTemporarySuffix(name.substr(ours.size()));
    const std::string legacy = store + ".";
    return name.compare(0, legacy.size(), legacy) == 0 &&
           isLegacyTemporarySuffix(name.substr(legacy.size()));
}

} // namespace

std::string temporaryPattern(const std::string& storePath) {
    return storePath + TEMPORARY_INFIX + "XXXXXX";
}

void removeStaleTemporaries(const std::string& storePath) {
    std::string dir = directoryOf(storePath);
    std::string store = fileNameOf(storePath);
    DIR* listing = ::opendir(dir.c_str());
    if (!listing) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(listing)) {
        std::string name = entry->d_name;
        if (!isStaleTemporary(name, store)) continue;
        struct stat info;
        std::string path = dir + "/" + name;
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) stale.push_back(path);
    }
    ::closedir(listing);
    for (const std::string& path : stale)
        ::unlink(path.c_str());
}

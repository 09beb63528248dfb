#include "measure/file_target.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// As the kernel allows when it follows links itself.
const int MAX_LINKS = 40;

bool readLink(const std::string& path, std::string& target) {
    std::vector<char> buffer(PATH_MAX);
    ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0 || size_t(n) >= buffer.size()) return false;
    target.assign(buffer.data(), size_t(n));
    return true;
}

} // namespace

std::string directoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string linkTarget(const std::string& path) {
    std::string current = path;
    for (int i = 0; i < MAX_LINKS; ++i) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target;
        if (!readLink(current, target) || target.empty()) return current;
        // A relative link is relative to the directory that holds it.
        current = target[0] == '/' ? target : directoryOf(current) + "/" + target;
    }
    return current;
}

void syncDirectory(const std::string& directory) {
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

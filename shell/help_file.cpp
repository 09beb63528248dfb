#include "shell/help_file.h"

#include <sys/stat.h>

namespace {

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

std::vector<std::string> helpFileCandidates(const std::string& executablePath) {
    size_t slash = executablePath.find_last_of('/');
    std::string directory =
        slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
    return {directory + HELP_FILE_NAME, directory + "../share/ondarix/" + HELP_FILE_NAME};
}

std::string findHelpFile(const std::string& executablePath) {
    for (const std::string& path : helpFileCandidates(executablePath))
        if (isRegularFile(path)) return path;
    return std::string();
}

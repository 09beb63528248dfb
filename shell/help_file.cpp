#include "shell/help_file.h"

std::string helpFilePath(const std::string& executablePath) {
    size_t slash = executablePath.find_last_of('/');
    std::string directory =
        slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
    return directory + HELP_FILE_NAME;
}

#include "batch/same_file.h"

#include <sys/stat.h>

#include "batch/batch_command.h"
#include "measure/file_target.h"

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool sameOutput(const std::string& a, const std::string& b) {
    if (sameFile(a, b)) return true;
    const std::string targetA = linkTarget(a), targetB = linkTarget(b);
    return fileNameOf(targetA) == fileNameOf(targetB) &&
           sameFile(directoryOf(targetA), directoryOf(targetB));
}

int refuseOutputOverInput(const std::string& output, const std::vector<std::string>& inputs) {
    if (output.empty()) return EXIT_OK;
    for (const std::string& input : inputs)
        if (sameFile(output, input))
            return reportError(EXIT_FAILED, output + " is the same file as the input " + input +
                                                "; nothing written");
    return EXIT_OK;
}

#include "batch/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "batch/batch_command.h"

namespace {

// The reason of the first write to standard output that failed.
int firstFailure = 0;

void keepFailure(int error) {
    if (!firstFailure) firstFailure = error ? error : EIO;
}

} // namespace

void printText(const std::string& text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) keepFailure(errno);
}

int finishStandardOutput(int code) {
    // A flush that fails again tells the reason an earlier buffered write lost.
    errno = 0;
    if (std::fflush(stdout) != 0) keepFailure(errno);
    if (std::ferror(stdout)) keepFailure(0);
    errno = 0;
    if (std::fclose(stdout) != 0) keepFailure(errno);
    if (!firstFailure || code != EXIT_OK) return code;
    return reportError(EXIT_FAILED,
                       std::string("cannot write standard output: ") + std::strerror(firstFailure));
}

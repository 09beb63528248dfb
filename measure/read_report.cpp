#include "measure/read_report.h"

#include <charconv>

bool acceptDamage(const ReadOptions& options, ReadReport* report, int64_t complete,
                  int64_t expected, std::string& why) {
    const bool some = complete >= 1;
    if (report) {
        report->rowsRead = complete;
        report->rowsExpected = expected;
        report->partialAvailable = some;
    }
    if (options.partial && some) return true;
    if (some)
        why += "; only the first " + std::to_string(complete) + " of " + std::to_string(expected) +
               " rows are complete (a partial read keeps them)";
    return false;
}

std::string partialReadText(const std::string& path, const ReadReport& report) {
    return path + ": read " + std::to_string(report.rowsRead) + " of " +
           std::to_string(report.rowsExpected) + " rows; the rest of the file is damaged";
}

std::string ignoredBytesText(const std::string& path, const ReadReport& report) {
    return path + ": " + std::to_string(report.bytesIgnored) +
           " bytes after the samples were ignored";
}

std::string ignoredTimeText(const std::string& path, double rate) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, rate).ptr;
    return path + ": the time column is ignored: the rate is " + std::string(text, end) +
           " Hz as given";
}

#include "measure/read_report.h"

#include <charconv>
#include <cstring>

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

void addSamplesCandidate(ReadReport* report, const std::string& name, int rank, const int64_t* dims,
                         const char* type) {
    if (!report || report->candidateCount >= MAX_SAMPLES_CANDIDATES || rank < 1 || rank > 2 ||
        name.empty() || name.size() >= sizeof report->candidates[0].name ||
        std::strlen(type) >= sizeof report->candidates[0].type)
        return;
    SamplesCandidate& c = report->candidates[report->candidateCount++];
    std::memcpy(c.name, name.c_str(), name.size() + 1);
    std::strcpy(c.type, type);
    c.rank = rank;
    c.dims[0] = dims[0];
    c.dims[1] = rank > 1 ? dims[1] : 0;
}

std::string samplesCandidateText(const SamplesCandidate& candidate) {
    std::string shape = std::to_string(candidate.dims[0]);
    if (candidate.rank > 1) shape += " \xc3\x97 " + std::to_string(candidate.dims[1]);
    return std::string(candidate.name) + "  " + shape + " " + candidate.type;
}

int largestSamplesCandidate(const ReadReport& report) {
    int largest = -1;
    double most = -1;
    for (int i = 0; i < report.candidateCount; ++i) {
        const SamplesCandidate& c = report.candidates[i];
        // In doubles: two dimensions of a damaged file could overflow.
        const double values = double(c.dims[0]) * double(c.rank > 1 ? c.dims[1] : 1);
        if (values > most) {
            most = values;
            largest = i;
        }
    }
    return largest;
}

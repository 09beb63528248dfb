// What a reader may keep of a damaged file, and what it says it read.
#pragma once

#include <cstdint>
#include <string>

struct ReadOptions {
    // Keep the complete rows before the place where a file is cut short or
    // damaged, instead of refusing the file. At least one row must be complete.
    bool partial = false;
    // Samples per second for a file that does not say (a CSV without a time
    // column); 0 when not given.
    double rate = 0;
    // The variable that holds the samples, for a file that holds several
    // (a MATLAB file); empty when not given.
    std::string variable{};
    // The dataset an HDF5 file is read from instead of /samples; empty for it.
    std::string dataset = {};
};

// A matrix or dataset of numbers a file holds that could be its samples.
// Plain fields: the report crosses from the reading child in shared memory.
struct SamplesCandidate {
    char name[256] = {};      // the variable's name or the dataset's path, UTF-8
    int32_t rank = 0;         // 1 or 2
    int64_t dims[2] = {0, 0}; // as the file stores them
    char type[12] = {};       // "double", "single", "int16", ...
};

constexpr int32_t MAX_SAMPLES_CANDIDATES = 32;

struct ReadReport {
    int64_t rowsRead = 0;     // rows the measurement holds (or a partial read would hold)
    int64_t rowsExpected = 0; // rows the file declares or its lines promise
    int64_t bytesIgnored = 0; // bytes after the samples an .INT header declares
    // The read failed, or kept only part of the file, because the file is cut
    // short or damaged after rowsRead complete rows; ReadOptions::partial
    // reads (or read) them.
    bool partialAvailable = false;
    // The read failed only for want of a sample rate the file does not give
    // (a CSV without a time column); ReadOptions::rate supplies it.
    bool rateNeeded = false;
    // The read failed because the file holds several variables that could be
    // the samples; ReadOptions::variable names one.
    bool variableNeeded = false;
    // The read failed for want of the dataset to read (an HDF5 file without
    // /samples); ReadOptions::dataset names it.
    bool datasetNeeded = false;
    // The read took ReadOptions::rate over the file's time column (a CSV),
    // which it did not check.
    bool timeColumnIgnored = false;
    // With variableNeeded or datasetNeeded: what the file holds to choose
    // from, in the file's order (the first MAX_SAMPLES_CANDIDATES).
    int32_t candidateCount = 0;
    SamplesCandidate candidates[MAX_SAMPLES_CANDIDATES] = {};

    // The measurement holds fewer rows than the file promised.
    bool isPartial() const { return rowsRead < rowsExpected; }
};

// A read stopped by damage after `complete` of `expected` rows. Records it in
// `*report` (where given) and returns true when `options` let the read keep
// the complete rows; otherwise appends the count of complete rows to `why`.
bool acceptDamage(const ReadOptions& options, ReadReport* report, int64_t complete,
                  int64_t expected, std::string& why);

// Adds a candidate to `*report` (where given) unless the list is full or
// `name` does not fit its field (it can still be named to read it).
void addSamplesCandidate(ReadReport* report, const std::string& name, int rank, const int64_t* dims,
                         const char* type);
// "/gauges  4 × 120000 double"
std::string samplesCandidateText(const SamplesCandidate& candidate);
// The index of the candidate with the most values (the first of equals);
// -1 when there is none.
int largestSamplesCandidate(const ReadReport& report);

// "PATH: read 1234 of 4096 rows; the rest of the file is damaged"
std::string partialReadText(const std::string& path, const ReadReport& report);
// "PATH: 1234 bytes after the samples were ignored"
std::string ignoredBytesText(const std::string& path, const ReadReport& report);
// "PATH: the time column is ignored: the rate is 30 Hz as given"
std::string ignoredTimeText(const std::string& path, double rate);

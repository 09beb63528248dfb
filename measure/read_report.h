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

    // The measurement holds fewer rows than the file promised.
    bool isPartial() const { return rowsRead < rowsExpected; }
};

// A read stopped by damage after `complete` of `expected` rows. Records it in
// `*report` (where given) and returns true when `options` let the read keep
// the complete rows; otherwise appends the count of complete rows to `why`.
bool acceptDamage(const ReadOptions& options, ReadReport* report, int64_t complete,
                  int64_t expected, std::string& why);

// "PATH: read 1234 of 4096 rows; the rest of the file is damaged"
std::string partialReadText(const std::string& path, const ReadReport& report);
// "PATH: 1234 bytes after the samples were ignored"
std::string ignoredBytesText(const std::string& path, const ReadReport& report);
// "PATH: the time column is ignored: the rate is 30 Hz as given"
std::string ignoredTimeText(const std::string& path, double rate);

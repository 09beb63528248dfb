// Tab-separated text measurements: one sample per line, the X value first.
#pragma once

#include <string>

#include "measure/measure.h"
#include "measure/read_report.h"

// Text files carry at most this many channels (17 numbers per line).
constexpr int TEXT_MAX_CHANNELS = 16;

// Fills a freshly constructed measurement from a text file in two passes
// (count the lines, then convert). Blank lines at the end are no rows; a
// blank line before a row is damage. Returns false on failure with `*error`
// naming the line; rows after a bad line are zero. With `options.partial` a
// bad line from line 3 on ends the measurement before it instead, and
// `*report` says how many rows of how many were kept.
bool readText(CMeasure& m, const char* path, std::string* error = nullptr,
              const ReadOptions& options = {}, ReadReport* report = nullptr);

// Channels, sample rate and rows as readText gives them, without allocating
// the samples: every line is checked but not stored, so the header read
// fails (or is partial) where the full read does.
bool readTextHeader(CMeasure& m, const char* path, std::string* error = nullptr,
                    const ReadOptions& options = {}, ReadReport* report = nullptr);

// Why a text file cannot carry `m` so that readText reads it back (no
// channels, more than 16 values per row, fewer than 2 rows), or null when it can.
const char* textFormatRefusal(const CMeasure& m);

// Writes the whole measurement through its WriteText operation. Returns false,
// with `*error` saying why, when the file could not be written (a file that
// was there stays as it was), and writes nothing for a measurement the format
// cannot carry (textFormatRefusal).
bool writeTextFile(CMeasure& m, const char* path, std::string* error = nullptr);

// Writes one channel's block (X value, re, im per row). Nothing is written for
// an empty range or a channel outside the measurement; returns false then.
bool writeBlockText(const CMeasure& m, int32_t channel, int32_t from, int32_t to, const char* path,
                    std::string* error = nullptr);

// The ".INT" measurement files of the DAXO acquisition program.
#pragma once

#include <string>

#include "measure/channel_extremes.h"
#include "measure/measure.h"
#include "measure/read_report.h"

constexpr double INT_MAX_SAMPLE_RATE = 330000.0;
constexpr int32_t INT_MAX_SAMPLES = 2 * 1024 * 1024;
constexpr int INT_CHANNEL_RECORD_BYTES = 97;

// Fills a freshly constructed measurement from an ".INT" file. Returns false
// on failure (also for a file without channels); `*error` then names the
// check that failed. A measurement that
// failed in the header has no sample block; one that failed while reading
// samples keeps the rows read and zeros in the rest. `path` is set either way.
// `seen`, where given, gets the extremes of the samples (ChannelExtremes of
// 0 channels when the layout's reading does not gather them, or on failure).
// A file cut short in its samples is refused, or with `options.partial` read
// up to its last complete row; `*report` says how many rows of how many, and
// how many bytes after the declared samples were ignored.
bool readInt(CMeasure& m, const char* path, std::string* error = nullptr,
             ChannelExtremes* seen = nullptr, const ReadOptions& options = {},
             ReadReport* report = nullptr);

// The header and channel descriptions only, without allocating or reading the
// samples: fails where readInt fails before its samples, and on a file too
// short for the samples its header declares (unless `options.partial`: the
// sample count is then the complete rows readInt would keep).
bool readIntHeader(CMeasure& m, const char* path, std::string* error = nullptr,
                   const ReadOptions& options = {}, ReadReport* report = nullptr);

// Why the format cannot carry `m` (no channels or no samples, more than
// 2097152 samples, a sample rate outside 0..330000: reading it back would
// fail or give nothing), or null when it can.
const char* intFormatRefusal(const CMeasure& m);

// Writes layout 5 (real) or 6 (complex) and sets `path`. Returns false, with
// `*error` saying why, when the file could not be written (a file that was
// there stays as it was), and writes nothing for a measurement the format
// cannot carry (intFormatRefusal).
bool writeInt(CMeasure& m, const char* path, std::string* error = nullptr);

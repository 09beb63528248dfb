// Reading ".WAV" files: integer PCM of 8 to 32 bits per sample and IEEE float
// of 32 or 64 bits (plain or WAVE_FORMAT_EXTENSIBLE), as a measurement of raw
// sample values: integers as whole numbers, floats as stored (no scaling).
#pragma once

#include <string>

#include "measure/measure.h"
#include "measure/read_report.h"

// Fills a freshly constructed measurement from the file. Returns true when the
// measurement was read; on false `*error` (when given) gets a one-line reason.
// A failure after the format chunk leaves the channels described and no samples.
// A data chunk cut short by the end of the file is refused, or with
// `options.partial` read as far as its last complete row (see `*report`).
bool readWave(CMeasure& m, const char* path, std::string* error = nullptr,
              const ReadOptions& options = {}, ReadReport* report = nullptr);

// The format and the number of rows of the data chunk, without allocating or
// reading the samples; fails where readWave fails before its samples.
bool readWaveHeader(CMeasure& m, const char* path, std::string* error = nullptr,
                    const ReadOptions& options = {}, ReadReport* report = nullptr);

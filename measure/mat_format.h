// MATLAB .mat files, read and written through libmatio: the samples are one
// numeric matrix among the file's variables, the rest describes them.
#pragma once

#include <string>

#include "measure/measure.h"
#include "measure/read_report.h"

// Fills a freshly constructed measurement from a version 5 or 7.3 file. The
// samples are the one numeric matrix or vector with more than one element
// (or the variable `options.variable` names); time runs along its longer
// dimension. The rate comes from a scalar fs, Fs, rate or sample_rate, or
// from dt; without any, from `options.rate`. A cell array (or char matrix)
// `names` and `units` give the channels' names and units, char variables
// `name` and `date` (ISO 8601) the measurement's. Returns false with
// `*error` saying why; `report` says when a rate or a variable name would
// let the read succeed.
bool readMat(CMeasure& m, const char* path, std::string* error = nullptr,
             const ReadOptions& options = {}, ReadReport* report = nullptr);

// As readMat, without keeping the samples (they are still read, so it fails
// where readMat does).
bool readMatHeader(CMeasure& m, const char* path, std::string* error = nullptr,
                   const ReadOptions& options = {}, ReadReport* report = nullptr);

// Why a MATLAB file cannot carry `m` so that readMat reads it back, or null.
const char* matFormatRefusal(const CMeasure& m);

// Writes an uncompressed version 5 file: `data` (samples x channels, double),
// `fs`, `names` and `units` (cell arrays of strings), `name` and, when the
// measurement has one, `date`. A file that was there stays as it was when the
// write fails.
bool writeMat(CMeasure& m, const char* path, std::string* error = nullptr);

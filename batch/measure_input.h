// Reading the input measurement of a subcommand, with the --type option.
#pragma once

#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "measure/measure.h"
#include "measure/read_report.h"

// The options of reading the input, which every command that reads a
// measurement takes; a new one is added here and in readWith only.
#define READING_USAGE "[--partial] [--rate HZ] [--dataset PATH] [--variable NAME]"
// `own` and the reading options (--type among them): for Args::allowOnly.
std::vector<std::string> withReadingOptions(std::vector<std::string> own);
// `own` and the reading options that take a value: for the registration.
std::vector<std::string> withReadingValues(std::vector<std::string> own);

// Reads the measurement named by `path` with the type of --type or its
// extension; with --partial the complete rows of a cut or damaged file. On
// failure prints one line naming the file and the reason and returns the exit
// code (EXIT_OK on success). A partial read, and bytes ignored after an
// .INT's samples, are each told in a warning line on stderr.
int readInput(CMeasure& m, const std::string& path, Args& args);
// The same for a command that goes on without the file: the reason it cannot
// be read is put in `failure` (with EXIT_FAILED) instead of printed; a bad
// reading option is still printed, with EXIT_USAGE.
int readInputQuietly(CMeasure& m, const std::string& path, Args& args, std::string& failure);
// The --type values for usage lines, from the file type table: "int|m11|..."
// of every type, or of the types that can be written.
const char* typeChoices(bool writableOnly = false);
// The same for the header and channel descriptions only (readMeasureHeader).
// With `report`, the bytes ignored are left to the caller to show.
int readInputHeader(CMeasure& m, const std::string& path, Args& args, ReadReport* report = nullptr);

// Checks --channel, --from and --to against the measurement; prints the
// reason and returns the exit code when they do not fit. --from and --to
// default to the whole channel.
int blockFromArgs(Args& args, const CMeasure& m, BlockRange& range);

// Refuses a block that holds a value that is not finite (nonFiniteRefusal's
// reason, EXIT_FAILED); EXIT_OK otherwise.
int refuseNonFinite(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                    int32_t to, bool imaginary = false);
int refuseNonFinite(const CMeasure& m, const BlockRange& range, bool imaginary = false);

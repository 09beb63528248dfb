// One analysis over several input files: every analysis command hands its
// per-file work here, which reads and analyses the files on a small pool of
// workers and assembles one table in the order the files were given.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "batch/series_table.h"

// Reads and analyses one file. Without `rows` it prints the result as a run
// on that file alone always has; with them it appends its rows. Returns the
// exit code, its reason told through reportError. Runs on a worker with its
// own copy of the arguments, so it changes nothing it shares.
using FileAnalysis = std::function<int(const std::string& path, Args& args, SeriesRows* rows)>;

struct FileSeries {
    const BatchCommand& command;
    // --channel may name several channels ("0,2"): a row for each.
    bool channelList = false;
    // Options that write one file per input, refused with several inputs.
    std::vector<std::string> singleOutputs;
};

// The options of a series (--table), for Args::allowOnly and the values.
std::vector<std::string> withSeriesOptions(std::vector<std::string> own);

// Runs `analyse` on every input (positional words, a pattern the shell left
// unexpanded expanded in sorted order). One file and one channel without
// --table print as before; otherwise one table: CSV on standard output or
// in --table FILE, a JSON list with --json. A file that fails is a row with
// its reason; the run then ends with a count on stderr and EXIT_FAILED.
int runFileSeries(const FileSeries& series, Args& args, const FileAnalysis& analyse);

// For an analysis of channels: `one` for each channel of --channel (one row
// each, a failing channel a row with its reason), or once without `rows`.
int forEachChannel(Args& args, SeriesRows* rows,
                   const std::function<int(Args& args, SeriesRow* row)>& one);

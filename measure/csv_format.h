// Comma-separated measurements as spreadsheets and pandas write them: an
// optional header of channel names (units in [] or ()), an optional time
// column first, one row per sample.
#pragma once

#include <string>

#include "measure/measure.h"
#include "measure/read_report.h"

// Fills a freshly constructed measurement from a CSV file. The delimiter is
// found among ',' ';' tab and blanks (with ';' a decimal comma is taken too);
// a byte-order mark, CR LF, quoted cells, '#' comment lines and blank lines at
// the end are accepted, an empty cell is NaN. A first header cell left empty
// (pandas' index) is skipped; pandas' 0,1,2 names unnamed columns; a first
// column named time, t, "Time (s)" or "time [s]" gives the rate: seconds or
// ISO 8601 date-times (the first gives the date), even to the digits they
// print, the rate fitted to every row and agreeing with a "# rate:" line;
// `options.rate` stands over it (`report->timeColumnIgnored`). Without a time
// column, the line or `options.rate` gives the rate. A `# calibrated:` comment
// (csv_calibration_line.h) describes its channel's values, unapplied. UTF-16
// text and lines no measurement holds are refused. Returns false with
// `*error` naming the row (the file's line, as a spreadsheet numbers it) and
// column of a bad cell; with `options.partial` the complete rows before a
// damaged row are kept and `*report` says so.
bool readCsv(CMeasure& m, const char* path, std::string* error = nullptr,
             const ReadOptions& options = {}, ReadReport* report = nullptr);

// Channels, rate and rows as readCsv gives them, without keeping the
// samples: every cell is checked, so it fails (or is partial) where readCsv does.
bool readCsvHeader(CMeasure& m, const char* path, std::string* error = nullptr,
                   const ReadOptions& options = {}, ReadReport* report = nullptr);

// Why a CSV file cannot carry `m` so that readCsv reads it back, or null.
const char* csvFormatRefusal(const CMeasure& m);

// Writes `# name:`, `# date:` and `# rate:` comments, a `# calibrated:`
// comment for each channel whose values carry a coefficient or constant
// (readCsv gives the pair back without applying it again), a header
// `time [s],<name> [<unit>],...` (quoted so that readCsv gives every name
// back exactly) and one row per sample (values as "%.9g",
// time and rate in the shortest text that reads back the same double, CR LF). A file that was there
// stays as it was when the write fails; nothing is written for a measurement csvFormatRefusal
// refuses.
bool writeCsv(CMeasure& m, const char* path, std::string* error = nullptr);

// The rows of an analysis run over several files, and the table they make:
// CSV for --table, a JSON list for --json.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "batch/wave_output.h"

// One value of a row. Its JSON is what the command's own --json prints for
// it; a list of numbers has no CSV cell (a table holds one value per cell).
struct SeriesCell {
    std::string group; // the JSON object it belongs to ("signal"), or empty
    std::string key;
    std::string json;
    std::string csv;
    bool inTable = true;
};

// One file's result, or one channel's of it, or the reason it has none.
struct SeriesRow {
    std::string file;
    int32_t channel = -1; // -1: the command names no single channel
    std::vector<SeriesCell> cells;
    std::string error; // empty for a result
};
using SeriesRows = std::vector<SeriesRow>;

void addNumber(SeriesRow& row, const std::string& key, double value, const std::string& group = "");
// A row of the fields, lists and warnings printJsonObject prints, in its order.
SeriesRow seriesRow(const JsonFields& fields, const JsonArrays& arrays = {},
                    const std::vector<std::string>* warnings = nullptr);

// The rows as CSV: a header of "file", "channel" (with `channels`), every key
// met in the rows in the order first met, then "error"; one line per row.
std::string seriesCsv(const SeriesRows& rows, bool channels);
// The rows as a JSON list of objects: "file", "channel", the command's own
// keys and, for a failed row, "error".
std::string seriesJson(const SeriesRows& rows, bool channels);

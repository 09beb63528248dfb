#include "batch/series_table.h"

#include <algorithm>

#include "batch/json_text.h"
#include "measure/csv_table.h"

namespace {

std::string columnName(const SeriesCell& cell) {
    return cell.group.empty() ? cell.key : cell.group + " " + cell.key;
}

// Every column of the rows' cells, in the order first met.
std::vector<std::string> columns(const SeriesRows& rows) {
    std::vector<std::string> names;
    for (const SeriesRow& row : rows)
        for (const SeriesCell& cell : row.cells) {
            const std::string name = columnName(cell);
            if (cell.inTable && std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
        }
    return names;
}

std::string jsonRow(const SeriesRow& row, bool channels) {
    std::string text = "{\"file\": " + jsonString(row.file);
    if (channels)
        text += ", \"channel\": " + (row.channel < 0 ? "null" : std::to_string(row.channel));
    for (size_t i = 0; i < row.cells.size(); ++i) {
        const SeriesCell& cell = row.cells[i];
        const bool opens = !cell.group.empty() && (i == 0 || row.cells[i - 1].group != cell.group);
        const bool closes = !cell.group.empty() &&
                            (i + 1 == row.cells.size() || row.cells[i + 1].group != cell.group);
        text += opens ? ", " + jsonString(cell.group) + ": {" : std::string(", ");
        text += jsonString(cell.key) + ": " + cell.json;
        if (closes) text += "}";
    }
    if (!row.error.empty()) text += ", \"error\": " + jsonString(row.error);
    return text + "}";
}

} // namespace

void addNumber(SeriesRow& row, const std::string& key, double value, const std::string& group) {
    const std::string json = jsonNumber(value);
    row.cells.push_back({group, key, json, json == "null" ? "" : json, true});
}

SeriesRow seriesRow(const JsonFields& fields, const JsonArrays& arrays,
                    const std::vector<std::string>* warnings) {
    SeriesRow row;
    for (const auto& [key, value] : fields)
        addNumber(row, key, value);
    for (const auto& [key, values] : arrays) {
        std::string json = "[";
        for (size_t i = 0; i < values.size(); ++i)
            json += (i ? ", " : "") + jsonNumber(values[i]);
        row.cells.push_back({"", key, json + "]", "", false});
    }
    if (warnings) {
        std::string json = "[", csv;
        for (size_t i = 0; i < warnings->size(); ++i) {
            json += (i ? ", " : "") + jsonString((*warnings)[i]);
            csv += (i ? "; " : "") + (*warnings)[i];
        }
        row.cells.push_back({"", "warnings", json + "]", csv, true});
    }
    return row;
}

std::string seriesCsv(const SeriesRows& rows, bool channels) {
    const std::vector<std::string> names = columns(rows);
    std::vector<std::string> header{"file"};
    if (channels) header.push_back("channel");
    header.insert(header.end(), names.begin(), names.end());
    header.push_back("error");
    std::string text = csvTableLine(header);
    for (const SeriesRow& row : rows) {
        std::vector<std::string> cells{row.file};
        if (channels) cells.push_back(row.channel < 0 ? "" : std::to_string(row.channel));
        for (const std::string& name : names) {
            auto it = std::find_if(row.cells.begin(), row.cells.end(),
                                   [&](const SeriesCell& c) { return columnName(c) == name; });
            cells.push_back(it == row.cells.end() ? "" : it->csv);
        }
        cells.push_back(row.error);
        text += csvTableLine(cells);
    }
    return text;
}

std::string seriesJson(const SeriesRows& rows, bool channels) {
    if (rows.empty()) return "[]\n";
    std::string text = "[\n";
    for (size_t i = 0; i < rows.size(); ++i)
        text += "  " + jsonRow(rows[i], channels) + (i + 1 < rows.size() ? ",\n" : "\n");
    return text + "]\n";
}

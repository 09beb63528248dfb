#include "waves/wave_file_series.h"

#include <algorithm>

#include "measure/measure_file.h"
#include "measure/save_target.h"
#include "numeric/every_core.h"

namespace {

WaveFileRow analyseFile(const std::string& path, WaveAnalysis kind, WaveRunOptions options,
                        bool wholeRecord) {
    WaveFileRow row{path, {}, ""};
    CMeasure m;
    const FileType type = fileTypeFromPath(path);
    std::string why;
    if (!readMeasure(m, path, type, &why)) {
        row.error = readFailureText(path, type, why);
        return row;
    }
    if (wholeRecord) {
        options.from = 0;
        options.to = m.sampleCount;
    }
    if (options.to > m.sampleCount) {
        row.error = "rows " + std::to_string(options.from) + ".." + std::to_string(options.to) +
                    " are outside the record's 0.." + std::to_string(m.sampleCount);
        return row;
    }
    CWaveResult result(kind);
    if (!result.TakeBlocks(m, options, &why) || !result.Compute(options, &why)) {
        row.error = why;
        return row;
    }
    row.lines = result.parameterLines;
    for (const std::string& warning : result.warnings)
        row.lines.push_back("Warning\t" + warning);
    return row;
}

std::string label(const std::string& line) {
    return line.substr(0, line.find('\t'));
}

} // namespace

std::vector<WaveFileRow> analyseWaveFiles(const std::vector<std::string>& paths, WaveAnalysis kind,
                                          const WaveRunOptions& options, bool wholeRecord) {
    std::vector<WaveFileRow> rows(paths.size());
    // Each worker holds one record at a time.
    onEveryCore(paths.size(),
                [&](size_t i) { rows[i] = analyseFile(paths[i], kind, options, wholeRecord); });
    return rows;
}

std::vector<std::vector<std::string>> waveFileTable(const std::vector<WaveFileRow>& rows) {
    std::vector<std::string> labels;
    for (const WaveFileRow& row : rows)
        for (const std::string& line : row.lines)
            if (std::find(labels.begin(), labels.end(), label(line)) == labels.end())
                labels.push_back(label(line));
    std::vector<std::vector<std::string>> table{{"File"}};
    table[0].insert(table[0].end(), labels.begin(), labels.end());
    table[0].push_back("Error");
    for (const WaveFileRow& row : rows) {
        std::vector<std::string> cells(labels.size() + 2);
        cells.front() = row.path;
        cells.back() = row.error;
        for (const std::string& line : row.lines) {
            const size_t column =
                size_t(std::find(labels.begin(), labels.end(), label(line)) - labels.begin());
            const size_t tab = line.find('\t');
            // Several warnings share their column, one per line.
            std::string& cell = cells[column + 1];
            const std::string value = tab == std::string::npos ? "" : line.substr(tab + 1);
            cell += (cell.empty() ? "" : "\n") + value;
        }
        table.push_back(cells);
    }
    return table;
}

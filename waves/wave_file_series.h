// One wave analysis over several measurement files, as the desktop's
// "Analyse files..." runs it: each file read and analysed on its own by a
// small pool of workers, one row per file in the order given, a file that
// cannot be read or analysed a row with its reason.
#pragma once

#include <string>
#include <vector>

#include "waves/wave_result.h"

struct WaveFileRow {
    std::string path;
    std::vector<std::string> lines; // "label<TAB>value", as the result window shows them
    std::string error;              // empty for a result
};

// `options` as the run dialog read them on one of the files; with
// `wholeRecord` each file's block is its own whole record.
std::vector<WaveFileRow> analyseWaveFiles(const std::vector<std::string>& paths, WaveAnalysis kind,
                                          const WaveRunOptions& options, bool wholeRecord);

// The rows as a table: "File", every label in the order first met, "Error".
std::vector<std::vector<std::string>> waveFileTable(const std::vector<WaveFileRow>& rows);

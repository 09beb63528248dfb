// The recovery copy of a measurement window's unsaved changes: everything the
// window needs to come back as it was (the path it was opened from, the type
// of that file, the whole header with its component lists, and the complex
// samples), in a layout of the program's own that no user opens.
#pragma once

#include <string>

#include "measure/file_type_table.h"
#include "measure/measure.h"

// Writes `m` (its `path` the file the window saves to) and `type` to `path`,
// replacing it whole or not at all. False with `*error` saying why.
bool writeRecoveryFile(const CMeasure& m, FileType type, const std::string& path,
                       std::string* error = nullptr);

// Fills a freshly constructed measurement from a recovery copy; `*type` gets
// the type of the original file. A copy that is damaged, cut or of another
// layout is refused before anything is allocated, with `*error` saying why.
bool readRecoveryFile(CMeasure& m, FileType* type, const std::string& path,
                      std::string* error = nullptr);

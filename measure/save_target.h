// Where a save from the desktop writes, and in which format: the name chosen
// in the save dialog and the dialog's file type decide together, so that no
// file is written in one format under another format's extension.
#pragma once

#include <string>

#include "measure/measure_file.h"

struct SaveTarget {
    std::string path;
    FileType type = FileType::Int;
    // Why nothing may be written; empty when the save can go ahead.
    std::string refusal;
};

// A name without an extension gets the file type's (".INT", ".M11" or
// ".TXT"); a name with one of the measurement extensions is written in that
// format (".WAV" is refused: there is no .WAV writer); any other extension
// is kept and the file type's format written.
SaveTarget saveTarget(const std::string& chosen, FileType fileType);
// The type of the save dialog's filter `filterIndex` (1-based, the rows with
// a save filter in the table's order); .INT for any other index.
FileType saveFileType(int filterIndex);
// Save block writes text: a name without an extension gets ".TXT", one with
// another measurement extension is refused.
SaveTarget blockSaveTarget(const std::string& chosen);

// The one line that says why a file could not be read, as ondarix-batch and
// the desktop both show it.
std::string readFailureText(const std::string& path, FileType type, const std::string& why);

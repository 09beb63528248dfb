// Choosing a file format: by the file dialog's type or by a file's extension.
#pragma once

#include <string>

#include "measure/file_type_table.h"

// The type named on a command line (a row's name or extension, as "int" or
// "wav"); false when the name is none of them.
bool fileTypeFromName(const std::string& name, FileType& type);
// By extension, ignoring letter case; anything unknown reads as .INT, as the
// open dialog's "All files" does.
FileType fileTypeFromPath(const std::string& path);
const char* fileTypeName(FileType type);

// Reads with the reader of `type`. False on failure with `*error` naming what
// was wrong; the measurement then holds whatever the reader filled in.
// `seen`, where given, gets the samples' extremes where the reader gathers
// them while reading (an empty ChannelExtremes where it does not).
// A file cut short or damaged after complete rows is refused, its error
// naming the complete rows, unless `options.partial`: it then reads them.
// `*report`, where given, says what was read: rows of rows expected, bytes
// ignored after an .INT's samples, and whether a partial read is possible
// (or was made). A file without channels is always refused.
bool readMeasure(CMeasure& m, const std::string& path, FileType type, std::string* error,
                 ChannelExtremes* seen = nullptr, const ReadOptions& options = {},
                 ReadReport* report = nullptr);
// The header and channel descriptions with the header reader of `type`: the
// measurement gets no samples, and a file is not read further than its
// description needs (a text file's lines are checked, not stored). It fails,
// or with `options.partial` gives the sample count, as readMeasure would.
bool readMeasureHeader(CMeasure& m, const std::string& path, FileType type, std::string* error,
                       const ReadOptions& options = {}, ReadReport* report = nullptr);
// Writes with the writer of `type` (a row without one refuses). False on failure with
// `*error` naming it; a measurement the format cannot carry so that its reader
// reads it back is refused and nothing is written.
bool writeMeasure(CMeasure& m, const std::string& path, FileType type, std::string* error);

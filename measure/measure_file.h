// Choosing a file format: by the file dialog's type or by a file's extension.
#pragma once

#include <string>

#include "measure/channel_extremes.h"
#include "measure/measure.h"

enum class FileType { Int, M11, Text, Wave };

// The type named on a command line ("int", "m11", "txt", "wav"); false when
// the name is none of them.
bool fileTypeFromName(const std::string& name, FileType& type);
// By extension, ignoring letter case; anything unknown reads as .INT, as the
// open dialog's "All files" does.
FileType fileTypeFromPath(const std::string& path);
const char* fileTypeName(FileType type);

// Reads with the reader of `type`. False on failure with `*error` naming what
// was wrong; the measurement then holds whatever the reader filled in.
// `seen`, where given, gets the samples' extremes where the reader gathers
// them while reading (an empty ChannelExtremes where it does not).
bool readMeasure(CMeasure& m, const std::string& path, FileType type, std::string* error,
                 ChannelExtremes* seen = nullptr);
// The header and channel descriptions with the header reader of `type`: the
// measurement gets no samples, and a file is not read further than its
// description needs (a text file's lines are counted, not converted).
bool readMeasureHeader(CMeasure& m, const std::string& path, FileType type, std::string* error);
// Writes with the writer of `type` (.WAV has none). False on failure with
// `*error` naming it; a measurement the format cannot carry so that its reader
// reads it back is refused and nothing is written.
bool writeMeasure(CMeasure& m, const std::string& path, FileType type, std::string* error);

// Every measurement file type, one row each: the dialogs, the choice by
// extension, the command line's type names, the Python module and the MIME
// file all loop over these rows, so a new type is one new row (and its
// reader/writer file), listed before the types that follow it in the dialogs.
#pragma once

#include <string>
#include <vector>

#include "measure/channel_extremes.h"
#include "measure/measure.h"
#include "measure/read_report.h"

// The rows' ids, in the order of the open dialog's list.
enum class FileType { Int, M11, Text, Wave, Csv, Mat, Hdf5 };

// Fills a freshly constructed measurement; false with `*error` naming what
// was wrong. `seen` (may be null) gets the extremes where the reader gathers
// them while reading. `report` (may be null) says what was read.
using MeasureReader = bool (*)(CMeasure& m, const char* path, std::string* error,
                               ChannelExtremes* seen, const ReadOptions& options,
                               ReadReport* report);
// The header and channel descriptions only, no samples.
using MeasureHeaderReader = bool (*)(CMeasure& m, const char* path, std::string* error,
                                     const ReadOptions& options, ReadReport* report);
// Writes `m`; false with `*error` naming why (without the path).
using MeasureWriter = bool (*)(CMeasure& m, const char* path, std::string* error);
// Why the writer cannot carry `m` so that the reader reads it back, or null.
using WriteRefusal = const char* (*)(const CMeasure& m);

struct FileTypeRow {
    FileType id;
    // The lower-case name on a command line and in Python ("int").
    const char* name;
    // Extensions without the dot, the first one given to a name saved
    // without one; matched ignoring letter case.
    std::vector<std::string> extensions;
    // The open dialog's filter text; empty: not offered there.
    const char* openFilter;
    // The save-as dialog's filter text; empty: not offered (no writer).
    const char* saveFilter;
    MeasureReader read;
    MeasureHeaderReader readHeader;
    // Null when the type cannot be written.
    MeasureWriter write;
    WriteRefusal refusal;
    // The installed MIME type and its comment; empty: the file keeps the
    // system's own type.
    const char* mimeType;
    const char* mimeComment;
    // Read in a child process (see fenced_read.h): the type is parsed by a
    // library that a damaged or hostile file can crash, hang or exhaust.
    bool fenced = false;
};

// All rows, in the dialogs' order.
const std::vector<FileTypeRow>& fileTypeRows();
const FileTypeRow& fileTypeRow(FileType type);
// The row whose name or one of whose extensions is `name`, ignoring letter
// case; null for none.
const FileTypeRow* fileTypeRowNamed(const std::string& name);
// The type of a path's extension when the type can be written; false for
// none, an unknown extension or a type without a writer.
bool writableTypeOfPath(const std::string& path, FileType& type);

// "int, m11, txt or wav": the names of every type (or only of the writable).
std::string fileTypeNameList(bool writableOnly, const char* separator = ", ",
                             const char* lastJoin = " or ");
// ".INT, .M11, .TXT or .WAV": the first extension of every type (or only of
// the writable).
std::string extensionList(bool writableOnly);
// The one wording of a type without a writer.
std::string cannotWriteText(const FileTypeRow& row);
// The shared-mime-info XML installed for the types with a MIME type.
std::string mimeInfoXml();

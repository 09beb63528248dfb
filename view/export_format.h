// The picture formats of a plot export and the file name each is written to.
#pragma once

#include <string>

enum class ExportFormat { Png, Svg, Pdf };

// ".png", ".svg" or ".pdf".
const char* exportExtension(ExportFormat format);

// The format a file name's extension names (any case); false for any other name.
bool exportFormatOfPath(const std::string& path, ExportFormat& format);

// Where an export chosen as `path` with `chosen` goes: a name that ends in one
// of the export extensions keeps it and its format; any other name gets the
// chosen format's extension appended, so a picture never lands under the name
// of another format.
std::string exportPath(const std::string& path, ExportFormat chosen, ExportFormat& format);

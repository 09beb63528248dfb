#include "shell/open_file_type.h"

namespace {

// The type the file's extension names; false for none or an unknown one.
bool typeOfExtension(const std::string& path, FileType& type) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    return fileTypeFromName(path.substr(dot + 1), type);
}

} // namespace

FileType openFileType(int filterIndex, const std::string& path) {
    FileType type = FileType::Int;
    if (typeOfExtension(path, type)) return type;
    // The open dialog lists the rows with an open filter, then "All files".
    int index = 0;
    for (const FileTypeRow& row : fileTypeRows())
        if (*row.openFilter && ++index == filterIndex) return row.id;
    return FileType::Int;
}

std::string allMeasurementsFilter() {
    std::string patterns;
    for (const FileTypeRow& row : fileTypeRows()) {
        if (!*row.openFilter) continue;
        for (const std::string& extension : row.extensions)
            patterns += (patterns.empty() ? "*." : " *.") + extension;
    }
    return "All measurements (" + patterns + ")";
}

int allMeasurementsFilterIndex() {
    int listed = 0;
    for (const FileTypeRow& row : fileTypeRows())
        if (*row.openFilter) ++listed;
    return listed + 2; // after "All files"
}

#include "measure/save_target.h"

namespace {

// The extension after the last dot of the last path element; empty when none.
std::string extensionOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    if (dot == 0 || (slash != std::string::npos && dot == slash + 1)) return ""; // ".hidden"
    return path.substr(dot + 1);
}

} // namespace

SaveTarget saveTarget(const std::string& chosen, FileType fileType) {
    SaveTarget target{chosen, fileType, ""};
    std::string extension = extensionOf(chosen);
    FileType named;
    if (extension.empty()) {
        target.path += "." + fileTypeRow(fileType).extensions.front();
    } else if (fileTypeFromName(extension, named)) {
        target.type = named;
        if (!fileTypeRow(named).write) target.refusal = cannotWriteText(fileTypeRow(named));
    }
    return target;
}

FileType saveFileType(int filterIndex) {
    int index = 0;
    for (const FileTypeRow& row : fileTypeRows())
        if (*row.saveFilter && ++index == filterIndex) return row.id;
    return FileType::Int;
}

SaveTarget blockSaveTarget(const std::string& chosen) {
    SaveTarget target{chosen, FileType::Text, ""};
    std::string extension = extensionOf(chosen);
    FileType named;
    if (extension.empty())
        target.path += "." + fileTypeRow(FileType::Text).extensions.front();
    else if (fileTypeFromName(extension, named) && named != FileType::Text)
        target.refusal = "a block is saved as text; name the file .TXT";
    return target;
}

std::string readFailureText(const std::string& path, FileType type, const std::string& why) {
    return path + ": not a readable ." + fileTypeName(type) + " file: " + why;
}

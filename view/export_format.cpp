#include "view/export_format.h"

#include <cctype>

namespace {

constexpr ExportFormat FORMATS[] = {ExportFormat::Png, ExportFormat::Svg, ExportFormat::Pdf};

bool endsWithNoCase(const std::string& text, const std::string& end) {
    if (text.size() < end.size()) return false;
    for (size_t i = 0; i < end.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[text.size() - end.size() + i]);
        if (std::tolower(c) != end[i]) return false;
    }
    return true;
}

} // namespace

const char* exportExtension(ExportFormat format) {
    switch (format) {
    case ExportFormat::Svg:
        return ".svg";
    case ExportFormat::Pdf:
        return ".pdf";
    default:
        return ".png";
    }
}

bool exportFormatOfPath(const std::string& path, ExportFormat& format) {
    for (ExportFormat f : FORMATS) {
        // A bare ".png" is a hidden file's name, not a type.
        std::string ext = exportExtension(f);
        size_t slash = path.find_last_of('/');
        size_t nameLength = path.size() - (slash == std::string::npos ? 0 : slash + 1);
        if (nameLength > ext.size() && endsWithNoCase(path, ext)) {
            format = f;
            return true;
        }
    }
    return false;
}

std::string exportPath(const std::string& path, ExportFormat chosen, ExportFormat& format) {
    if (exportFormatOfPath(path, format)) return path;
    format = chosen;
    return path + exportExtension(chosen);
}

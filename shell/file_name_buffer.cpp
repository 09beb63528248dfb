#include "shell/file_name_buffer.h"

#include <strings.h>

#include <cstring>

#include "measure/file_type_table.h"
#include "measure/measure.h"

void FileNameBuffer::set(const std::string& name) {
    copyField(name_, FILE_NAME_CAPACITY, name.c_str());
}

void FileNameBuffer::cutMeasureExtension() {
    size_t length = std::strlen(name_);
    for (const FileTypeRow& row : fileTypeRows()) {
        for (const std::string& known : row.extensions) {
            // A name of only the extension keeps it.
            if (length < known.size() + 2) continue;
            char* dot = name_ + length - known.size() - 1;
            if (*dot == '.' && strcasecmp(dot + 1, known.c_str()) == 0) {
                *dot = '\0';
                return;
            }
        }
    }
}

FileNameBuffer& sharedFileName() {
    static FileNameBuffer buffer;
    return buffer;
}

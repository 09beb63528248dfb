#include "shell/file_name_buffer.h"

#include <strings.h>

#include <cstring>

#include "measure/measure.h"

void FileNameBuffer::set(const std::string& name) {
    copyField(name_, FILE_NAME_CAPACITY, name.c_str());
}

void FileNameBuffer::cutMeasureExtension() {
    size_t length = std::strlen(name_);
    if (length < 5) return;
    char* extension = name_ + length - 4;
    for (const char* known : {".INT", ".TXT", ".WAV", ".M11"}) {
        if (strcasecmp(extension, known) == 0) {
            *extension = '\0';
            return;
        }
    }
}

FileNameBuffer& sharedFileName() {
    static FileNameBuffer buffer;
    return buffer;
}

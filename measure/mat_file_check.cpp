#include "measure/mat_file_check.h"

#include <cstdint>

#include "measure/file_io.h"

namespace {

// Text, subsystem offset, version and the endian indicator.
constexpr int64_t HEADER_BYTES = 128;
constexpr uint32_t MI_MATRIX = 14;
constexpr uint32_t MI_COMPRESSED = 15;

uint32_t swapped(uint32_t v) {
    return (v >> 24) | (v >> 8 & 0xFF00) | (v << 8 & 0xFF0000) | (v << 24);
}

// Walks the top-level data elements of a version 5 file: each is a
// matrix or a compressed matrix whose length must end within the file.
bool checkElements(const FileHandle& file, int64_t size, bool bigEndian, std::string& error) {
    int64_t position = HEADER_BYTES;
    int count = 0;
    while (size - position >= 8) {
        unsigned char tag[8];
        if (file.readAt(tag, 8, position) != 8) {
            error = "cannot read the file";
            return false;
        }
        uint32_t type = loadUint32(tag), bytes = loadUint32(tag + 4);
        if (bigEndian) {
            type = swapped(type);
            bytes = swapped(bytes);
        }
        if (type != MI_MATRIX && type != MI_COMPRESSED) {
            error = "the file is damaged at byte " + std::to_string(position);
            return false;
        }
        if (int64_t(bytes) > size - position - 8) {
            error = "the file is cut short in its variable " + std::to_string(count + 1);
            return false;
        }
        position += 8 + int64_t(bytes);
        ++count;
    }
    return true;
}

} // namespace

MatVersion checkMatFile(const char* path, std::string* error) {
    std::string why;
    OpenError opened;
    FileHandle file = FileHandle::openRead(path, &opened);
    MatVersion version = MatVersion::None;
    unsigned char header[HEADER_BYTES];
    const int64_t size = file.valid() ? file.remaining() : -1;
    if (!file.valid()) {
        why = openErrorText(opened);
    } else if (size < HEADER_BYTES) {
        why = "the file is too short for a MATLAB file";
    } else if (file.readAt(header, sizeof header, 0) != sizeof header) {
        why = "cannot read the file";
    } else {
        const bool little = header[126] == 'I' && header[127] == 'M';
        const bool big = header[126] == 'M' && header[127] == 'I';
        const int number = little ? header[124] | header[125] << 8 : header[124] << 8 | header[125];
        if ((little || big) && number == 0x0100)
            version = checkElements(file, size, big, why) ? MatVersion::V5 : MatVersion::None;
        else if ((little || big) && number == 0x0200)
            version = MatVersion::V73;
        else
            why = "not a MATLAB version 5 or 7.3 file";
    }
    if (error) *error = why;
    return version;
}

#include "measure/mat_file_check.h"

#include <cstdint>
#include <hdf5.h>

#include "measure/file_io.h"
#include "measure/mat_library.h"

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

// No variable holds more than its file could, compressed as well as deflate
// compresses (about 1032 to 1); a damaged size asks libmatio for more memory
// than there is, or for gigabytes of nothing to read and convert.
uint64_t dataLimitOf(int64_t size) {
    return uint64_t(size) * 1032 + (1 << 20);
}

struct DataSetLimit {
    uint64_t bytes;
    bool exceeded = false;
};

uint64_t dataSetBytes(hid_t set) {
    const hid_t space = H5Dget_space(set), type = H5Dget_type(set);
    const int rank = space >= 0 ? H5Sget_simple_extent_ndims(space) : -1;
    hsize_t dims[H5S_MAX_RANK];
    uint64_t bytes = type >= 0 ? H5Tget_size(type) : 0;
    if (rank < 0 || rank > H5S_MAX_RANK || H5Sget_simple_extent_dims(space, dims, nullptr) < 0)
        bytes = UINT64_MAX;
    for (int i = 0; i < rank && bytes != UINT64_MAX; ++i)
        bytes = dims[i] && bytes > UINT64_MAX / dims[i] ? UINT64_MAX : bytes * dims[i];
    if (type >= 0) H5Tclose(type);
    if (space >= 0) H5Sclose(space);
    return bytes;
}

herr_t checkDataSet(hid_t group, const char* name, const H5L_info_t* info, void* data) {
    auto& limit = *static_cast<DataSetLimit*>(data);
    if (info->type != H5L_TYPE_HARD) return 0; // never another file's
    const hid_t object = H5Oopen(group, name, H5P_DEFAULT);
    if (object < 0 || (H5Iget_type(object) == H5I_DATASET && dataSetBytes(object) > limit.bytes))
        limit.exceeded = true;
    if (object >= 0) H5Oclose(object);
    return limit.exceeded ? 1 : 0;
}

bool checkDataSets(const char* path, int64_t size, std::string& error) {
    MatLibraryUse library;
    DataSetLimit limit{dataLimitOf(size)};
    const hid_t file = H5Fopen(path, H5F_ACC_RDONLY, H5P_DEFAULT);
    if (file < 0 || H5Lvisit(file, H5_INDEX_NAME, H5_ITER_NATIVE, checkDataSet, &limit) < 0)
        limit.exceeded = true;
    if (file >= 0) H5Fclose(file);
    if (limit.exceeded) error = "the file is damaged or cut short";
    return !limit.exceeded;
}

} // namespace

MatVersion checkMatFile(const char* path, std::string* error, uint64_t* dataLimit) {
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
            version = checkDataSets(path, size, why) ? MatVersion::V73 : MatVersion::None;
        else
            why = "not a MATLAB version 5 or 7.3 file";
    }
    if (error) *error = why;
    if (dataLimit) *dataLimit = dataLimitOf(size);
    return version;
}

#include "measure/mat_file_check.h"

#include <algorithm>
#include <cstdint>
#include <hdf5.h>
#include <map>
#include <vector>

#include "measure/file_io.h"
#include "measure/hdf5_objects.h"
#include "measure/mat5_walk.h"
#include "measure/mat_library.h"

namespace {

// Text, subsystem offset, version and the endian indicator.
constexpr int64_t HEADER_BYTES = 128;

// No variable holds more than its file could, compressed as well as deflate
// compresses (about 1032 to 1); a damaged size asks libmatio for more memory
// than there is, or for gigabytes of nothing to read and convert.
uint64_t dataLimitOf(int64_t size) {
    return uint64_t(size) * 1032 + (1 << 20);
}

struct DataSetLimit {
    uint64_t bytes = 0;
    bool exceeded = false;
    // What a variable refers to in another file, when it does.
    std::string elsewhere;
    // A cell's elements are references to data sets (in /#refs#): from each
    // data set of references, the data sets it refers to.
    std::map<std::string, std::vector<std::string>> cells;
    uint64_t references = 0;
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

// Every link of the file: a variable is never another file's (an external
// link, external storage, a virtual dataset), nor larger than the file.
std::string objectName(hid_t object) {
    char name[1024];
    const ssize_t n = H5Iget_name(object, name, sizeof name);
    return n > 0 ? std::string(name, size_t(std::min<ssize_t>(n, sizeof name - 1))) : std::string();
}

// Notes what a data set of references (a cell) refers to; false when it
// holds more than a file's cells may.
bool noteCell(hid_t set, DataSetLimit& limit) {
    const hid_t space = H5Dget_space(set);
    const hssize_t count = space >= 0 ? H5Sget_simple_extent_npoints(space) : -1;
    if (space >= 0) H5Sclose(space);
    limit.references += uint64_t(std::max<hssize_t>(count, 0));
    if (count < 0 || limit.references > MAT5_MAX_MATRICES) return false;
    std::vector<hobj_ref_t> references(static_cast<size_t>(count));
    if (count > 0 &&
        H5Dread(set, H5T_STD_REF_OBJ, H5S_ALL, H5S_ALL, H5P_DEFAULT, references.data()) < 0)
        return false;
    std::vector<std::string>& targets = limit.cells[objectName(set)];
    for (hobj_ref_t& reference : references) {
        const hid_t target = H5Rdereference2(set, H5P_DEFAULT, H5R_OBJECT, &reference);
        if (target < 0) continue; // an empty cell; libmatio reads nothing there
        if (H5Iget_type(target) == H5I_DATASET) targets.push_back(objectName(target));
        H5Oclose(target);
    }
    return true;
}

// How deep cells nest below `cell` (libmatio recurses as deep); a cycle
// counts as deeper than any limit. `heights` remembers the cells done.
int cellHeight(const DataSetLimit& limit, const std::string& cell, std::vector<std::string>& path,
               std::map<std::string, int>& heights) {
    if (const auto known = heights.find(cell); known != heights.end()) return known->second;
    if (path.size() > size_t(MAT5_MAX_DEPTH) ||
        std::find(path.begin(), path.end(), cell) != path.end())
        return MAT5_MAX_DEPTH + 1;
    const auto found = limit.cells.find(cell);
    int height = 0;
    if (found != limit.cells.end()) {
        path.push_back(cell);
        for (const std::string& target : found->second) {
            height = std::max(height, cellHeight(limit, target, path, heights) + 1);
            if (height > MAT5_MAX_DEPTH) break;
        }
        path.pop_back();
    }
    if (height <= MAT5_MAX_DEPTH) heights[cell] = height;
    return height;
}

herr_t checkDataSet(hid_t group, const char* name, const H5L_info_t* info, void* data) {
    auto& limit = *static_cast<DataSetLimit*>(data);
    if (info->type == H5L_TYPE_EXTERNAL) {
        limit.elsewhere = "/" + std::string(name) + " is " +
                          hdf5::externalLinkOnPath(group, "/" + std::string(name));
        return 1;
    }
    if (info->type != H5L_TYPE_HARD) return 0;
    const hid_t object = H5Oopen(group, name, H5P_DEFAULT);
    if (object >= 0 && H5Iget_type(object) == H5I_DATASET) {
        const std::string foreign = hdf5::foreignStorage(object);
        if (!foreign.empty()) limit.elsewhere = "/" + std::string(name) + " is " + foreign;
    }
    if (object < 0 || (H5Iget_type(object) == H5I_DATASET && dataSetBytes(object) > limit.bytes))
        limit.exceeded = true;
    if (!limit.exceeded && H5Iget_type(object) == H5I_DATASET) {
        const hid_t type = H5Dget_type(object);
        if (type >= 0 && H5Tget_class(type) == H5T_REFERENCE && !noteCell(object, limit))
            limit.exceeded = true;
        if (type >= 0) H5Tclose(type);
    }
    if (object >= 0) H5Oclose(object);
    return limit.exceeded || !limit.elsewhere.empty() ? 1 : 0;
}

bool checkDataSets(const char* path, int64_t size, std::string& error) {
    MatLibraryUse library;
    DataSetLimit limit;
    limit.bytes = dataLimitOf(size);
    const hid_t file = H5Fopen(path, H5F_ACC_RDONLY, H5P_DEFAULT);
    if (file < 0 || H5Lvisit(file, H5_INDEX_NAME, H5_ITER_NATIVE, checkDataSet, &limit) < 0)
        limit.exceeded = true;
    if (file >= 0) H5Fclose(file);
    std::string deep;
    std::map<std::string, int> heights;
    for (const auto& cell : limit.cells) {
        std::vector<std::string> path;
        if (deep.empty() && cellHeight(limit, cell.first, path, heights) > MAT5_MAX_DEPTH)
            deep = cell.first;
    }
    if (!deep.empty() && limit.elsewhere.empty() && !limit.exceeded) {
        error = "the cell " + deep + " nests cells more than " + std::to_string(MAT5_MAX_DEPTH) +
                " deep or holds itself";
        return false;
    }
    if (!limit.elsewhere.empty())
        error = "variable " + limit.elsewhere +
                "; a measurement is read only from the file named, never from another";
    else if (limit.exceeded)
        error = "the file is damaged or cut short";
    return !limit.exceeded && limit.elsewhere.empty();
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
            version = walkMat5(file, size, big, &why) ? MatVersion::V5 : MatVersion::None;
        else if ((little || big) && number == 0x0200)
            version = checkDataSets(path, size, why) ? MatVersion::V73 : MatVersion::None;
        else
            why = "not a MATLAB version 5 or 7.3 file";
    }
    if (error) *error = why;
    if (dataLimit) *dataLimit = dataLimitOf(size);
    return version;
}

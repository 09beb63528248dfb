#include "measure/hdf5_format.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <vector>

#include "measure/atomic_file.h"
#include "measure/fenced_read.h"
#include "measure/file_io.h"
#include "measure/hdf5_objects.h"
#include "measure/iso_date.h"
#include "measure/row_scatter.h"
#include "measure/sample_stream.h"
#include "measure/text_encoding.h"
#include "numeric/two_stage_pipeline.h"

namespace {

using hdf5::AttributeRead;
using hdf5::Handle;

const char* const SAMPLES = "/samples";
const char* const READ_FROM_NAMED_FILE =
    "; a measurement is read only from the file named, never from another";

// Rows per chunk of /samples: whole rows of every channel, about 256 KiB,
// so that reading every channel (what Ondarix and h5py's [:] do) takes each
// chunk once, in file order, straight into the caller's buffer, and a chunk
// fits HDF5's default chunk cache of 1 MiB for readers that take less.
hsize_t chunkRows(int64_t rows, int channels) {
    return hsize_t(std::clamp<int64_t>((1 << 16) / channels, 1, rows));
}

// Rows read per H5Dread: a buffer of about 1 MiB of floats, reused.
int64_t blockRows(int channels) {
    return std::max(1, (1 << 18) / channels);
}

// What the dataset holds, as the measurement takes it.
struct Shape {
    int rank = 0;
    int64_t rows = 0;
    int channels = 0;
    // The file stores channels x samples (time along the longer dimension).
    bool transposed = false;
};

std::string normalName(const std::string& name) {
    return name.empty() ? SAMPLES : name.front() == '/' ? name : "/" + name;
}

// A dataset of numbers of 1 or 2 dimensions, described for the choice.
struct Table {
    std::string name;
    int rank = 0;
    int64_t dims[2] = {0, 0};
    std::string type;
};

// Named as MATLAB names its classes, so that a list reads alike for either
// kind of file.
std::string typeName(hid_t type) {
    const size_t bits = H5Tget_size(type) * 8;
    if (H5Tget_class(type) == H5T_FLOAT)
        return bits == 64 ? "double" : bits == 32 ? "single" : "float" + std::to_string(bits);
    return (H5Tget_sign(type) == H5T_SGN_NONE ? "uint" : "int") + std::to_string(bits);
}

bool describeTable(hid_t object, Table& table) {
    if (H5Iget_type(object) != H5I_DATASET) return false;
    Handle type(H5Dget_type(object), H5Tclose), space(H5Dget_space(object), H5Sclose);
    const H5T_class_t kind = H5Tget_class(type.get());
    table.rank = H5Sget_simple_extent_ndims(space.get());
    hsize_t dims[2] = {0, 0};
    if ((kind != H5T_INTEGER && kind != H5T_FLOAT) || table.rank < 1 || table.rank > 2 ||
        H5Sget_simple_extent_dims(space.get(), dims, nullptr) < 0)
        return false;
    table.dims[0] = int64_t(dims[0]);
    table.dims[1] = int64_t(dims[1]);
    table.type = typeName(type.get());
    return true;
}

// Tables beyond the ones a choice lists are not looked at.
constexpr size_t MAX_TABLES = size_t(MAX_SAMPLES_CANDIDATES);

herr_t collectTable(hid_t group, const char* name, const H5L_info_t* info, void* data) {
    auto& tables = *static_cast<std::vector<Table>*>(data);
    if (info->type != H5L_TYPE_HARD) return 0;
    Handle object(H5Oopen(group, name, H5P_DEFAULT), H5Oclose);
    Table table;
    table.name = std::string("/") + name;
    if (object.valid() && describeTable(object.get(), table)) tables.push_back(table);
    return tables.size() > MAX_TABLES ? 1 : 0;
}

// "/samples is missing; the file's numeric datasets: /a, /b"
std::string missingSamplesText(hid_t file, ReadReport* report) {
    std::vector<Table> tables;
    H5Lvisit(file, H5_INDEX_NAME, H5_ITER_INC, collectTable, &tables);
    if (tables.empty()) return "the file holds no /samples and no other dataset of numbers";
    if (report) report->datasetNeeded = true;
    for (const Table& t : tables)
        addSamplesCandidate(report, t.name, t.rank, t.dims, t.type.c_str());
    std::string text = "the file holds no /samples; name the dataset to read (";
    for (size_t i = 0; i < tables.size() && i < 5; ++i)
        text += (i ? ", " : "") + tables[i].name;
    return text + (tables.size() > 5 ? ", ...)" : ")");
}

const char* kindText(H5T_class_t kind) {
    switch (kind) {
    case H5T_STRING:
        return "text";
    case H5T_COMPOUND:
        return "records";
    case H5T_ENUM:
        return "enumerated values";
    default:
        return "values";
    }
}

// What is wrong with the dataset's storage, as far as its index can tell;
// null when it holds all its samples. The library copies a damaged one's
// samples out of a buffer of the size the file claims, reading past its end.
const char* storageFault(hid_t dataset, hsize_t elements, size_t elementSize) {
    const char* const SHORT = "it stores fewer bytes than its samples take";
    Handle creation(H5Dget_create_plist(dataset), H5Pclose);
    const H5D_layout_t layout = H5Pget_layout(creation.get());
    const hsize_t stored = H5Dget_storage_size(dataset), bytes = elements * elementSize;
    if (layout == H5D_COMPACT) return stored >= bytes ? nullptr : SHORT;
    // Data never written reads as the fill value, and deflate packs about
    // 1032 to 1: a dataset claiming far more than that of what it stores is
    // damage (a flipped dimension made a 75 KB file hundreds of MB of zeros).
    const bool filtered = H5Pget_nfilters(creation.get()) > 0;
    if (bytes / 1032 > stored + (filtered ? hsize_t(1) << 20 : hsize_t(16) << 10))
        return "it declares far more samples than it stores";
    // Contiguous storage is all there or never written.
    if (layout == H5D_CONTIGUOUS) return stored == 0 || stored >= bytes ? nullptr : SHORT;
    if (layout != H5D_CHUNKED) return SHORT;
    hsize_t chunk[H5S_MAX_RANK];
    const int rank = H5Pget_chunk(creation.get(), H5S_MAX_RANK, chunk);
    hsize_t chunkBytes = elementSize, chunks = 0;
    for (int i = 0; i < rank; ++i)
        chunkBytes = chunk[i] != 0 && chunkBytes > UINT64_MAX / chunk[i] ? UINT64_MAX
                                                                         : chunkBytes * chunk[i];
    // The library takes a whole chunk's memory to read any of it.
    if (chunkBytes > 2 * bytes + (hsize_t(16) << 20))
        return "its chunks are far larger than its samples";
    // Compressed chunks differ in size; plain ones all take a whole chunk.
    if (filtered) return nullptr;
    Handle space(H5Dget_space(dataset), H5Sclose);
    return rank > 0 && H5Dget_num_chunks(dataset, space.get(), &chunks) >= 0 &&
                   stored == chunks * chunkBytes
               ? nullptr
               : SHORT;
}

bool readShape(hid_t dataset, const std::string& name, Shape& shape, std::string& error) {
    Handle type(H5Dget_type(dataset), H5Tclose), space(H5Dget_space(dataset), H5Sclose);
    const H5T_class_t kind = H5Tget_class(type.get());
    if (kind != H5T_INTEGER && kind != H5T_FLOAT) {
        error = "dataset " + name + " holds " + kindText(kind) + ", not numbers";
        return false;
    }
    shape.rank = H5Sget_simple_extent_ndims(space.get());
    hsize_t dims[2] = {0, 1};
    if (shape.rank < 1 || shape.rank > 2 ||
        H5Sget_simple_extent_dims(space.get(), dims, nullptr) < 0) {
        error = "dataset " + name + " has " + std::to_string(std::max(shape.rank, 0)) +
                " dimensions; a measurement is read from 1 or 2";
        return false;
    }
    // Our own layout is samples x channels whatever its size; another
    // program's table may be either way round.
    shape.transposed = shape.rank == 2 && name != SAMPLES && dims[1] > dims[0];
    const hsize_t rows = shape.transposed ? dims[1] : dims[0];
    const hsize_t channels = shape.transposed ? dims[0] : dims[1];
    if (rows == 0 || channels == 0) {
        error = "dataset " + name + " is empty";
        return false;
    }
    if (channels > hsize_t(MAX_CHANNELS)) {
        error = "dataset " + name + " holds " + std::to_string(channels) + " channels; at most " +
                std::to_string(MAX_CHANNELS) + " fit in a measurement";
        return false;
    }
    if (rows > hsize_t(INT32_MAX)) {
        error = "dataset " + name + " holds more rows than a measurement can";
        return false;
    }
    if (const char* fault = storageFault(dataset, rows * channels, H5Tget_size(type.get()))) {
        error = "dataset " + name + " is damaged: " + fault;
        return false;
    }
    shape.rows = int64_t(rows);
    shape.channels = int(channels);
    return true;
}

// A chunk cache that holds every chunk one block of rows touches: a block
// read takes a piece of each, and the next block the rest. With HDF5's own
// 1 MiB cache a larger chunk was read and inflated again for every block.
void sizeChunkCache(hid_t access, hid_t dataset, const Shape& shape) {
    Handle creation(H5Dget_create_plist(dataset), H5Pclose);
    hsize_t chunk[2] = {1, 1};
    if (H5Pget_layout(creation.get()) != H5D_CHUNKED ||
        H5Pget_chunk(creation.get(), 2, chunk) != shape.rank)
        return;
    Handle type(H5Dget_type(dataset), H5Tclose);
    const hsize_t across = shape.rank < 2 ? 1 : chunk[shape.transposed ? 0 : 1];
    const hsize_t chunksAcross =
        (hsize_t(shape.channels) + across - 1) / std::max<hsize_t>(across, 1);
    const hsize_t bytes = chunk[0] * (shape.rank < 2 ? 1 : chunk[1]) * H5Tget_size(type.get());
    const hsize_t cache = bytes * chunksAcross + (1 << 20);
    H5Pset_chunk_cache(access, 100003, size_t(cache), 1.0);
    // The cache, and the library's buffers for inflating a chunk into it
    // (grown by doubling), are the file's own chunks' memory.
    allowReadingMemory(int64_t(3 * cache));
}

// Reads the samples a block of rows at a time into `blocks`.
bool readSamples(hid_t dataset, const Shape& shape, RowBlocks& blocks) {
    Handle file(H5Dget_space(dataset), H5Sclose);
    const int64_t step = blockRows(shape.channels);
    // Rows as the file stores them go straight to `blocks`; a file of
    // channels x samples is read channel after channel and copied.
    std::vector<float> channelRuns(shape.transposed ? size_t(step) * size_t(shape.channels) : 0);
    for (int64_t first = 0; first < shape.rows; first += step) {
        const int64_t count = std::min(step, shape.rows - first);
        const hsize_t b = hsize_t(count), c = hsize_t(shape.channels), f = hsize_t(first);
        hsize_t start[2] = {f, 0}, size[2] = {b, c};
        if (shape.transposed) {
            start[0] = 0, start[1] = f;
            size[0] = c, size[1] = b;
        }
        float* target = shape.transposed ? channelRuns.data() : blocks.beginRows(first, count);
        // The buffer has the selection's shape: HDF5 maps a chunk into a
        // buffer of another shape one element at a time, 20 times slower.
        Handle memory(H5Screate_simple(shape.rank, size, nullptr), H5Sclose);
        if (H5Sselect_hyperslab(file.get(), H5S_SELECT_SET, start, nullptr, size, nullptr) < 0 ||
            H5Dread(dataset, H5T_NATIVE_FLOAT, memory.get(), file.get(), H5P_DEFAULT, target) < 0)
            return false;
        if (shape.transposed) {
            blocks.begin(first, count);
            for (hsize_t ch = 0; ch < c; ++ch)
                std::copy(target + ch * b, target + (ch + 1) * b, blocks.column(int(ch)));
        }
        if (!blocks.end()) return false;
    }
    return blocks.finish();
}

std::string attributeText(const char* attribute, const std::string& owner) {
    return "attribute " + std::string(attribute) + " of " + owner;
}

// One text per channel from an optional attribute; an absent one leaves
// `texts` empty.
bool channelTexts(hid_t object, const char* attribute, const std::string& owner, int channels,
                  std::vector<std::string>& texts, std::string& error) {
    AttributeRead read = hdf5::readTexts(object, attribute, texts);
    if (read == AttributeRead::WrongType)
        error = attributeText(attribute, owner) + " is not text";
    else if (read == AttributeRead::Read && int(texts.size()) != channels)
        error = attributeText(attribute, owner) + " holds " + std::to_string(texts.size()) +
                " texts for " + std::to_string(channels) + " channels";
    return error.empty();
}

bool channelNumbers(hid_t object, const char* attribute, const std::string& owner, int channels,
                    std::vector<double>& values, std::string& error) {
    AttributeRead read = hdf5::readNumbers(object, attribute, values);
    if (read == AttributeRead::WrongType)
        error = attributeText(attribute, owner) + " does not hold numbers";
    else if (read == AttributeRead::Read && int(values.size()) != channels)
        error = attributeText(attribute, owner) + " holds " + std::to_string(values.size()) +
                " numbers for " + std::to_string(channels) + " channels";
    return error.empty();
}

// One text of the root group; empty when absent.
bool rootText(hid_t root, const char* attribute, std::string& text, std::string& error) {
    std::vector<std::string> texts;
    AttributeRead read = hdf5::readTexts(root, attribute, texts);
    if (read == AttributeRead::WrongType || texts.size() > 1) {
        error = attributeText(attribute, "the root group") + " is not one text";
        return false;
    }
    text = texts.empty() ? std::string() : texts.front();
    return true;
}

// The rate from sample_rate or fs of `object`; 0 when it has neither.
bool rateOf(hid_t object, const std::string& owner, double& rate, std::string& error) {
    for (const char* attribute : {"sample_rate", "fs"}) {
        std::vector<double> values;
        AttributeRead read = hdf5::readNumbers(object, attribute, values);
        if (read == AttributeRead::Absent) continue;
        if (read == AttributeRead::WrongType || values.size() != 1 || !(values[0] > 0) ||
            !std::isfinite(values[0])) {
            error = attributeText(attribute, owner) + " is not one positive number";
            return false;
        }
        rate = values[0];
        return true;
    }
    rate = 0;
    return true;
}

struct Description {
    std::string name, date;
    std::vector<std::string> names, units;
    std::vector<double> coefficients, constants;
    double rate = 0;
};

bool readDescription(hid_t root, hid_t dataset, const std::string& owner, int channels,
                     Description& d, std::string& error) {
    return rootText(root, "name", d.name, error) && rootText(root, "date", d.date, error) &&
           channelTexts(dataset, "channel_names", owner, channels, d.names, error) &&
           channelTexts(dataset, "units", owner, channels, d.units, error) &&
           channelNumbers(dataset, "coefficients", owner, channels, d.coefficients, error) &&
           channelNumbers(dataset, "constants", owner, channels, d.constants, error) &&
           rateOf(dataset, owner, d.rate, error) &&
           (d.rate > 0 || rateOf(root, "the root group", d.rate, error));
}

void describe(CMeasure& m, const Description& d) {
    describePlainChannels(m);
    if (!d.name.empty()) copyNameField(m.name, MAX_NAME + 1, d.name);
    m.date = parseIsoDate(d.date);
    m.sampleRate = d.rate;
    for (int c = 0; c < m.channelCount; ++c) {
        ChannelInfo& info = m.channels[c];
        if (!d.names.empty()) copyNameField(info.name, MAX_CHANNEL_NAME + 1, d.names[size_t(c)]);
        if (!d.units.empty()) copyNameField(info.unit, MAX_UNIT + 1, d.units[size_t(c)]);
        if (!d.coefficients.empty()) info.coefficient = d.coefficients[size_t(c)];
        if (!d.constants.empty()) info.constant = d.constants[size_t(c)];
    }
}

bool readOpenFile(CMeasure& m, hid_t file, bool samples, std::string& why,
                  const ReadOptions& options, ReadReport* report) {
    const std::string name = normalName(options.dataset);
    if (name == SAMPLES && H5Lexists(file, "samples", H5P_DEFAULT) <= 0) {
        why = missingSamplesText(file, report);
        return false;
    }
    std::string elsewhere = hdf5::externalLinkOnPath(file, name);
    Handle access = hdf5::closedAccess(H5P_DATASET_ACCESS, &elsewhere);
    Handle dataset(elsewhere.empty() ? H5Dopen2(file, name.c_str(), access.get()) : -1, H5Dclose);
    if (dataset.valid()) elsewhere = hdf5::foreignStorage(dataset.get());
    if (!elsewhere.empty()) {
        why = "dataset " + name + " is " + elsewhere + READ_FROM_NAMED_FILE;
        return false;
    }
    if (!dataset.valid()) {
        why = "the file holds no dataset " + name;
        return false;
    }
    Shape shape;
    Description d;
    Handle root(H5Gopen2(file, "/", H5P_DEFAULT), H5Gclose);
    if (!readShape(dataset.get(), name, shape, why) ||
        !readDescription(root.get(), dataset.get(), name, shape.channels, d, why))
        return false;
    if (!(d.rate > 0)) d.rate = options.rate;
    if (!(d.rate > 0) || !std::isfinite(d.rate)) {
        if (report) report->rateNeeded = true;
        why = "the file does not say its sample rate: give it";
        return false;
    }
    m.channelCount = shape.channels;
    m.sampleCount = int32_t(shape.rows);
    std::optional<RowBlocks> blocks;
    if (samples && !blocks.emplace(m, blockRows(shape.channels), &why).valid()) {
        m.sampleCount = 0;
        return false;
    }
    // Opened again with the chunk cache the reading needs (a dataset open
    // twice would share the first one's cache).
    if (samples) {
        sizeChunkCache(access.get(), dataset.get(), shape);
        dataset.reset();
        dataset.reset(H5Dopen2(file, name.c_str(), access.get()));
    }
    if (samples && (!dataset.valid() || !readSamples(dataset.get(), shape, *blocks))) {
        m.truncateSamples(0);
        m.sampleCount = 0;
        why = "the samples of " + name + " cannot be read; the file is damaged";
        return false;
    }
    describe(m, d);
    return true;
}

bool readHdf5Any(CMeasure& m, const char* path, bool samples, std::string* error,
                 const ReadOptions& options, ReadReport* report) {
    std::string why;
    bool ok = false;
    OpenError opened;
    if (!FileHandle::openRead(path, &opened).valid()) {
        why = openErrorText(opened);
    } else {
        hdf5::Session session;
        if (H5Fis_hdf5(path) <= 0) {
            why = "not an HDF5 file";
        } else {
            Handle file(H5Fopen(path, H5F_ACC_RDONLY, H5P_DEFAULT), H5Fclose);
            if (!file.valid())
                why = "the HDF5 file cannot be opened; it is damaged or cut short";
            else
                ok = readOpenFile(m, file.get(), samples, why, options, report);
        }
    }
    if (ok && report) report->rowsRead = report->rowsExpected = m.sampleCount;
    copyField(m.path, sizeof m.path, path);
    if (error) *error = ok ? std::string() : why;
    return ok;
}

// ---------------------------------------------------------------------------

bool writeDescription(const CMeasure& m, hid_t root, hid_t dataset) {
    std::vector<std::string> names, units;
    std::vector<double> coefficients, constants;
    for (int c = 0; c < m.channelCount; ++c) {
        names.push_back(displayText(m.channels[c].name));
        units.push_back(displayText(m.channels[c].unit));
        coefficients.push_back(m.channels[c].coefficient);
        constants.push_back(m.channels[c].constant);
    }
    const std::string date = isoDateText(m.date);
    return hdf5::writeTexts(root, "name", {displayText(m.name)}, true) &&
           (date.empty() || hdf5::writeTexts(root, "date", {date}, true)) &&
           hdf5::writeNumbers(root, "sample_rate", {m.sampleRate}, true) &&
           hdf5::writeTexts(dataset, "channel_names", names, false) &&
           hdf5::writeTexts(dataset, "units", units, false) &&
           hdf5::writeNumbers(dataset, "coefficients", coefficients, false) &&
           hdf5::writeNumbers(dataset, "constants", constants, false);
}

// Rows `first` .. `first + rows - 1` of the file's samples into `values`.
void gatherFileRows(const CMeasure& m, hsize_t first, hsize_t rows, float* values) {
    const hsize_t channels = hsize_t(m.channelCount);
    if (const float* columns = m.column(0)) {
        gatherRows(columns + first, m.columnRows(), int64_t(rows), int(channels), values);
        return;
    }
    // A complex record's real parts, a few hundred rows at a time, so that
    // the rows being filled stay in cache while every channel adds its values.
    constexpr hsize_t STEP = 256;
    for (hsize_t r0 = 0; r0 < rows; r0 += STEP)
        for (hsize_t c = 0; c < channels; ++c) {
            const ChannelValues v = m.values(int(c));
            for (hsize_t r = r0; r < std::min(rows, r0 + STEP); ++r)
                values[r * channels + c] = v[int64_t(first + r)];
        }
}

// Writes the real parts a chunk of rows at a time (writes of several chunks
// were no faster); the rows of the next chunks are gathered on a second
// thread while the library writes one (only this thread calls it).
bool writeSamples(const CMeasure& m, hid_t dataset, hsize_t rowsPerWrite) {
    Handle file(H5Dget_space(dataset), H5Sclose);
    const hsize_t channels = hsize_t(m.channelCount), rows = hsize_t(m.sampleCount);
    constexpr int SLOTS = 4;
    std::vector<float> values(size_t(SLOTS * rowsPerWrite * channels));
    auto slot = [&](int k) { return values.data() + size_t(k) * rowsPerWrite * channels; };
    auto count = [&](int64_t block) {
        return std::min(rowsPerWrite, rows - hsize_t(block) * rowsPerWrite);
    };
    const int64_t blocks = int64_t((rows + rowsPerWrite - 1) / rowsPerWrite);
    return inTwoStages(
        blocks, SLOTS,
        [&](int64_t block, int k) {
            gatherFileRows(m, hsize_t(block) * rowsPerWrite, count(block), slot(k));
            return true;
        },
        [&](int64_t block, int k) {
            hsize_t start[2] = {hsize_t(block) * rowsPerWrite, 0},
                    size[2] = {count(block), channels};
            Handle memory(H5Screate_simple(2, size, nullptr), H5Sclose);
            return H5Sselect_hyperslab(file.get(), H5S_SELECT_SET, start, nullptr, size, nullptr) >=
                       0 &&
                   H5Dwrite(dataset, H5T_NATIVE_FLOAT, memory.get(), file.get(), H5P_DEFAULT,
                            slot(k)) >= 0;
        });
}

bool writeLayout(const CMeasure& m, hid_t file) {
    const hsize_t dims[2] = {hsize_t(m.sampleCount), hsize_t(m.channelCount)};
    const hsize_t chunk[2] = {chunkRows(m.sampleCount, m.channelCount), dims[1]};
    Handle space(H5Screate_simple(2, dims, nullptr), H5Sclose);
    Handle layout(H5Pcreate(H5P_DATASET_CREATE), H5Pclose);
    if (H5Pset_chunk(layout.get(), 2, chunk) < 0) return false;
    Handle dataset(H5Dcreate2(file, SAMPLES, H5T_IEEE_F32LE, space.get(), H5P_DEFAULT, layout.get(),
                              H5P_DEFAULT),
                   H5Dclose);
    Handle root(H5Gopen2(file, "/", H5P_DEFAULT), H5Gclose);
    return dataset.valid() && root.valid() && writeSamples(m, dataset.get(), chunk[0]) &&
           writeDescription(m, root.get(), dataset.get());
}

// The file streamed by the library into AtomicFile's temporary file, chunk
// after chunk, which AtomicFile then syncs and renames: no image of the whole
// file in memory. Every write and the close are checked.
bool writeTemporary(const CMeasure& m, const std::string& path) {
    hdf5::Session session;
    const hid_t file = H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
    if (file < 0) return false;
    const bool written = writeLayout(m, file);
    const bool closed = H5Fclose(file) >= 0;
    return written && closed;
}

} // namespace

bool readHdf5(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
              ReadReport* report) {
    return readHdf5Any(m, path, true, error, options, report);
}

bool readHdf5Header(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
                    ReadReport* report) {
    return readHdf5Any(m, path, false, error, options, report);
}

const char* hdf5FormatRefusal(const CMeasure& m) {
    if (const char* why = noSamplesReason(m)) return why;
    if (m.TextValuesPerRow() != m.channelCount)
        return "an HDF5 file holds one value per channel; an analysis result has two";
    if (!(m.sampleRate > 0) || !std::isfinite(m.sampleRate))
        return "an HDF5 file needs a sample rate above 0";
    return nullptr;
}

bool writeHdf5(CMeasure& m, const char* path, std::string* error) {
    if (const char* why = hdf5FormatRefusal(m)) {
        if (error) *error = why;
        return false;
    }
    AtomicFile out;
    if (!out.open(path)) {
        if (error) *error = out.error();
        return false;
    }
    // The file's room is tried before the library writes: a disk too full or
    // a size limit is met here, where it fails cleanly, and not in the
    // library's last writes at close, after which it would leave the file
    // open and crash when the process ends. (The library's create truncates
    // the file, giving the room back: this checks the room, it does not hold
    // it against another writer filling the disk meanwhile.)
    const int64_t room = samplesBytes(m.sampleCount, m.channelCount, SAMPLE_FORMAT_REAL);
    const int taken = posix_fallocate(out.file().fd(), 0, off_t(room + room / 64 + (4 << 20)));
    if (taken != 0 && taken != EOPNOTSUPP && taken != EINVAL) {
        errno = taken;
        out.commit(false);
        if (error) *error = out.error();
        return false;
    }
    errno = 0;
    if (!writeTemporary(m, out.temporaryPath())) {
        // The library's own message is not kept; the system's says why (a
        // full disk, a file size limit).
        const int cause = errno;
        out.discard();
        if (error)
            *error = std::string("the HDF5 library could not write the file") +
                     (cause != 0 ? ": " + std::string(std::strerror(cause)) : "");
        return false;
    }
    const bool ok = out.commit(true);
    if (!ok && error) *error = out.error();
    return ok;
}

#include "measure/mat_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <matio.h>
#include <memory>
#include <vector>

#include "measure/atomic_file.h"
#include "measure/huge_page_block.h"
#include "measure/iso_date.h"
#include "measure/mat5_writer.h"
#include "measure/mat_file_check.h"
#include "measure/mat_library.h"
#include "measure/sample_stream.h"
#include "measure/text_encoding.h"

namespace {

struct FreeVar {
    void operator()(matvar_t* v) const { Mat_VarFree(v); }
};
struct CloseMat {
    void operator()(mat_t* mat) const { Mat_Close(mat); }
};
using Var = std::unique_ptr<matvar_t, FreeVar>;
using MatFile = std::unique_ptr<mat_t, CloseMat>;

bool isNumeric(matio_classes c) {
    return c == MAT_C_DOUBLE || c == MAT_C_SINGLE || (c >= MAT_C_INT8 && c <= MAT_C_UINT64);
}

size_t elementCount(const matvar_t& v) {
    if (v.rank < 1 || !v.dims) return 0;
    size_t n = 1;
    for (int i = 0; i < v.rank; ++i) {
        if (v.dims[i] != 0 && n > SIZE_MAX / v.dims[i]) return SIZE_MAX;
        n *= v.dims[i];
    }
    return n;
}

// Rows and columns of a variable with no third dimension beyond 1.
bool matrixShape(const matvar_t& v, size_t& rows, size_t& columns) {
    if (v.rank < 1 || !v.dims) return false;
    for (int i = 2; i < v.rank; ++i)
        if (v.dims[i] != 1) return false;
    rows = v.dims[0];
    columns = v.rank > 1 ? v.dims[1] : 1;
    return true;
}

// MATLAB's own name of a numeric class.
const char* className(matio_classes c) {
    switch (c) {
    case MAT_C_DOUBLE:
        return "double";
    case MAT_C_SINGLE:
        return "single";
    case MAT_C_INT8:
        return "int8";
    case MAT_C_UINT8:
        return "uint8";
    case MAT_C_INT16:
        return "int16";
    case MAT_C_UINT16:
        return "uint16";
    case MAT_C_INT32:
        return "int32";
    case MAT_C_UINT32:
        return "uint32";
    case MAT_C_INT64:
        return "int64";
    case MAT_C_UINT64:
        return "uint64";
    default:
        return "";
    }
}

// A real numeric matrix or vector of more than one element: what samples are.
bool isCandidate(const matvar_t& v) {
    size_t rows, columns;
    return isNumeric(v.class_type) && !v.isComplex && !v.isLogical &&
           matrixShape(v, rows, columns) && elementCount(v) > 1;
}

// The data as read, whole: libmatio gives numbers in their class's type.
// A cell's data are its elements' descriptions; text may be 1, 2 or 4 bytes
// a character.
bool hasData(const matvar_t& v) {
    const size_t n = elementCount(v);
    const bool exact = v.class_type != MAT_C_CHAR && v.class_type != MAT_C_CELL;
    const size_t size = v.class_type == MAT_C_CELL   ? sizeof(matvar_t*)
                        : v.class_type == MAT_C_CHAR ? size_t(v.data_size)
                                                     : Mat_SizeOfClass(v.class_type);
    return n == 0 ||
           (v.data && size > 0 && v.nbytes / size >= n && (!exact || size_t(v.data_size) == size));
}

// `n` values of class `c` at data[first + k * step] as Out, through double
// (a 64-bit integer is rounded once to double, then to a float).
template <typename T, typename Out>
void convertValues(const void* data, size_t first, size_t step, size_t n, Out* out) {
    const T* in = static_cast<const T*>(data) + first;
    for (size_t k = 0; k < n; ++k)
        out[k] = Out(double(in[k * step]));
}

template <typename Out>
void classValues(matio_classes c, const void* data, size_t first, size_t step, size_t n, Out* out) {
    switch (c) {
    case MAT_C_DOUBLE:
        return convertValues<double>(data, first, step, n, out);
    case MAT_C_SINGLE:
        return convertValues<float>(data, first, step, n, out);
    case MAT_C_INT8:
        return convertValues<int8_t>(data, first, step, n, out);
    case MAT_C_UINT8:
        return convertValues<uint8_t>(data, first, step, n, out);
    case MAT_C_INT16:
        return convertValues<int16_t>(data, first, step, n, out);
    case MAT_C_UINT16:
        return convertValues<uint16_t>(data, first, step, n, out);
    case MAT_C_INT32:
        return convertValues<int32_t>(data, first, step, n, out);
    case MAT_C_UINT32:
        return convertValues<uint32_t>(data, first, step, n, out);
    case MAT_C_INT64:
        return convertValues<int64_t>(data, first, step, n, out);
    case MAT_C_UINT64:
        return convertValues<uint64_t>(data, first, step, n, out);
    default:
        std::fill(out, out + n, Out(0));
    }
}

double valueAt(const matvar_t& v, size_t i) {
    double value = 0;
    classValues(v.class_type, v.data, i, 1, 1, &value);
    return value;
}

// The characters of a text looked at: every name field is far shorter, and a
// damaged size must not make the reader decode megabytes of nothing.
constexpr size_t MAX_TEXT = 1024;

// The first `count` characters of a char variable, in MATLAB's column order.
// UTF-8 is decoded from the start (its bytes outnumber its characters), two
// bytes a character are UTF-16, as MATLAB keeps text, one byte is Latin-1.
std::u16string charUnits(const matvar_t& v, size_t count) {
    const size_t n = std::min(elementCount(v), count);
    if (v.data_size == 2) return std::u16string(static_cast<const char16_t*>(v.data), n);
    const char* bytes = static_cast<const char*>(v.data);
    if (v.data_type == MAT_T_UTF8)
        return utf8ToUtf16(std::string(bytes, std::min(v.nbytes, 4 * n)));
    std::u16string units;
    for (size_t i = 0; v.data_size == 1 && i < n; ++i)
        units += char16_t(static_cast<unsigned char>(bytes[i]));
    return units;
}

// Row `row` of a char matrix as UTF-8, without the blanks that pad the rows
// of a matrix to one length (a single row's blanks are its own).
std::string charRow(const matvar_t& v, size_t row) {
    size_t rows, columns;
    if (!matrixShape(v, rows, columns) || row >= rows || rows > MAX_TEXT) return std::string();
    const size_t kept = std::min(columns, MAX_TEXT);
    const std::u16string units = charUnits(v, rows * kept);
    std::u16string text;
    for (size_t k = 0, i = row; k < kept && i < units.size(); ++k, i += rows)
        text += units[i];
    const size_t end =
        text.find_last_not_of(rows > 1 ? std::u16string(u" \0", 2) : std::u16string(1, u'\0'));
    text.erase(end == std::u16string::npos ? 0 : end + 1);
    return utf16ToUtf8(text);
}

// The file's variables, described; samples and text are read by name.
class MatReader {
  public:
    MatReader(mat_t* mat, uint64_t dataLimit) : mat_(mat), dataLimit_(dataLimit) {
        while (matvar_t* v = Mat_VarReadNextInfo(mat))
            infos_.emplace_back(v);
    }

    const matvar_t* info(const std::string& name) const {
        for (const Var& v : infos_)
            if (v->name && name == v->name) return v.get();
        return nullptr;
    }
    std::vector<std::string> candidates() const {
        std::vector<std::string> names;
        for (const Var& v : infos_)
            if (v->name && isCandidate(*v)) names.push_back(v->name);
        return names;
    }
    // The variable read whole, when it still has the class and shape its
    // description gave (a name twice in a file is read once).
    Var read(const matvar_t& described) const {
        const size_t n = elementCount(described);
        if (n > dataLimit_ / std::max<size_t>(1, Mat_SizeOfClass(described.class_type)))
            return nullptr;
        Var v(Mat_VarRead(mat_, described.name));
        if (!v || v->class_type != described.class_type ||
            elementCount(*v) != elementCount(described) || !hasData(*v))
            return nullptr;
        return v;
    }

    // Whether the variable's samples are read from the file a block at a
    // time: an uncompressed version 5 one whose element numbers fit the
    // library's int. A compressed one inflates only from its start, and
    // version 7.3 chunks are HDF5's to cache: those are read whole.
    bool readsInBlocks(const matvar_t& v) const {
        return Mat_GetVersion(mat_) != MAT_FT_MAT73 && v.compression == MAT_COMPRESSION_NONE &&
               elementCount(v) <= size_t(INT32_MAX);
    }
    // Elements first .. first + count - 1 of the variable in MATLAB's column
    // order, into `data` in its class. (The library's two-dimensional slab
    // read gives the matrix's start again for a slab that spans the first
    // dimension whole.)
    bool readRun(const matvar_t& described, size_t first, size_t count, void* data) const {
        return Mat_VarReadDataLinear(mat_, const_cast<matvar_t*>(&described), data, int(first), 1,
                                     int(count)) == 0;
    }

  private:
    mat_t* mat_;
    uint64_t dataLimit_;
    std::vector<Var> infos_;
};

std::string nameList(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The variable that holds the samples: the one candidate, or the one named.
const matvar_t* samplesVariable(const MatReader& file, const ReadOptions& options,
                                ReadReport* report, std::string& error) {
    const std::vector<std::string> names = file.candidates();
    if (!options.variable.empty()) {
        const matvar_t* v = file.info(options.variable);
        if (!v)
            error = "the file holds no variable '" + options.variable + "'" +
                    (names.empty() ? "" : " (numeric matrices: " + nameList(names) + ")");
        else if (elementCount(*v) == 0)
            error = "variable '" + options.variable + "' is empty";
        else if (!isNumeric(v->class_type) || v->isComplex || v->isLogical)
            error = "variable '" + options.variable + "' holds no real numbers";
        else if (size_t rows, columns; !matrixShape(*v, rows, columns))
            error = "variable '" + options.variable + "' has more than 2 dimensions";
        return error.empty() ? v : nullptr;
    }
    if (names.size() == 1) return file.info(names.front());
    if (names.empty()) {
        error = "the file holds no numeric matrix or vector";
    } else {
        error = "the file holds " + std::to_string(names.size()) + " numeric matrices (" +
                nameList(names) + "); name the one to read";
        if (report) report->variableNeeded = true;
        for (const std::string& name : names) {
            const matvar_t& v = *file.info(name);
            size_t rows = 0, columns = 0;
            matrixShape(v, rows, columns);
            const int64_t dims[2] = {int64_t(rows), int64_t(columns)};
            addSamplesCandidate(report, name, 2, dims, className(v.class_type));
        }
    }
    return nullptr;
}

// Where a block of rows of the samples comes from: the variable read whole,
// or the file, a block at a time.
class SampleSource {
  public:
    // `rows` the variable's first dimension; `timeDown` when its columns are
    // the channels.
    SampleSource(const MatReader& file, const matvar_t& info, size_t rows, bool timeDown,
                 size_t step, size_t channels)
        : file_(file), info_(info), rows_(rows), timeDown_(timeDown), channels_(channels) {
        if (!file.readsInBlocks(info)) {
            whole_ = file.read(info);
            return;
        }
        // Zeroed: a file cut short after its walk must not pass on old memory.
        const size_t bytes =
            step * channels * std::max<size_t>(1, Mat_SizeOfClass(info.class_type));
        block_ = makeHugePageBlock(bytes);
        if (block_) std::memset(block_.get(), 0, bytes);
    }
    bool valid() const { return whole_ || block_; }
    // Rows first .. first + count - 1 of every channel into `blocks`.
    bool convert(size_t first, size_t count, RowBlocks& blocks) {
        const matio_classes type = info_.class_type;
        if (whole_) {
            for (size_t c = 0; c < channels_; ++c)
                classValues(type, whole_->data, timeDown_ ? first + c * rows_ : c + first * rows_,
                            timeDown_ ? 1 : rows_, count, blocks.column(int(c)));
            return true;
        }
        // Each channel's run when the columns are channels, else the rows of
        // the block as they follow each other.
        const size_t size = Mat_SizeOfClass(type);
        bool read = true;
        for (size_t c = 0; timeDown_ && c < channels_ && read; ++c)
            read = file_.readRun(info_, c * rows_ + first, count, block_.get() + c * count * size);
        if (!timeDown_)
            read = file_.readRun(info_, first * channels_, count * channels_, block_.get());
        if (!read) return false;
        for (size_t c = 0; c < channels_; ++c)
            classValues(type, block_.get(), timeDown_ ? c * count : c, timeDown_ ? 1 : channels_,
                        count, blocks.column(int(c)));
        return true;
    }

  private:
    const MatReader& file_;
    const matvar_t& info_;
    size_t rows_;
    bool timeDown_;
    size_t channels_;
    Var whole_;
    HugePageBlock block_{nullptr, std::free};
};

bool readSamples(CMeasure& m, const MatReader& file, const matvar_t& info, bool keep,
                 std::string& error) {
    size_t rows = 0, columns = 0;
    matrixShape(info, rows, columns);
    const bool timeDown = rows >= columns;
    const size_t samples = timeDown ? rows : columns, channels = timeDown ? columns : rows;
    if (channels > size_t(MAX_CHANNELS)) {
        error = "variable '" + std::string(info.name) + "' holds " + std::to_string(channels) +
                " channels; at most " + std::to_string(MAX_CHANNELS) + " fit in a measurement";
        return false;
    }
    if (samples > size_t(INT32_MAX)) {
        error = "too many rows for one measurement";
        return false;
    }
    const std::string damaged =
        "variable '" + std::string(info.name) + "' cannot be read; the file is damaged";
    if (!keep) {
        // The description alone, from a variable that reads (one read a block
        // at a time had its sizes checked against the file by the walk).
        if (!file.readsInBlocks(info) && !file.read(info)) {
            error = damaged;
            return false;
        }
        m.channelCount = int32_t(channels);
        m.sampleCount = int32_t(samples);
        return true;
    }
    // Rows a piece of 4 MiB of floats at a time, into the measurement or the
    // stream (a fenced read's pieces of 1 MiB cost 1.3 times the read in
    // process, of 4 MiB 1.1 times; of 8 MiB the doubles no longer stay in
    // the cache).
    const size_t step = std::max<size_t>(1, std::min((size_t(1) << 20) / channels, samples));
    SampleSource source(file, info, rows, timeDown, step, channels);
    if (!source.valid()) {
        error = damaged;
        return false;
    }
    m.channelCount = int32_t(channels);
    m.sampleCount = int32_t(samples);
    RowBlocks blocks(m, int64_t(step), &error);
    if (!blocks.valid()) {
        m.sampleCount = 0;
        return false;
    }
    for (size_t first = 0; first < samples; first += step) {
        const size_t count = std::min(step, samples - first);
        blocks.begin(int64_t(first), int64_t(count));
        if (!source.convert(first, count, blocks)) {
            m.sampleCount = 0;
            error = damaged;
            return false;
        }
        if (!blocks.end()) {
            m.sampleCount = 0;
            error = "the samples could not be handed over";
            return false;
        }
    }
    if (!blocks.finish()) {
        m.sampleCount = 0;
        error = "the samples could not be handed over";
        return false;
    }
    return true;
}

// The rate from the first of fs, Fs, rate, sample_rate and dt the file
// holds; 0 when it holds none.
bool fileRate(const MatReader& file, double& rate, std::string& error) {
    static const char* const names[] = {"fs", "Fs", "rate", "sample_rate", "dt"};
    rate = 0;
    for (const char* name : names) {
        const matvar_t* info = file.info(name);
        if (!info) continue;
        Var v = isNumeric(info->class_type) && !info->isComplex && elementCount(*info) == 1
                    ? file.read(*info)
                    : nullptr;
        const double value = v ? valueAt(*v, 0) : 0;
        rate = std::strcmp(name, "dt") == 0 ? 1.0 / value : value;
        if (rate > 0 && std::isfinite(rate)) return true;
        error = std::string(name) + " is not a positive number";
        return false;
    }
    return true;
}

// One text per channel from a cell array of strings or the rows of a char
// matrix; nothing when the file holds no such variable.
bool channelTexts(const MatReader& file, const char* name, size_t channels,
                  std::vector<std::string>& texts, std::string& error) {
    const matvar_t* info = file.info(name);
    if (!info) return true;
    size_t rows, columns;
    const bool chars = info->class_type == MAT_C_CHAR && matrixShape(*info, rows, columns);
    const size_t count = chars ? rows : elementCount(*info);
    if ((info->class_type != MAT_C_CELL && !chars) || count != channels) {
        error = std::string(name) + " holds " + std::to_string(count) + " texts for " +
                std::to_string(channels) + " channels";
        return false;
    }
    Var v = file.read(*info);
    for (size_t i = 0; v && i < count; ++i) {
        const matvar_t* text = chars ? v.get() : Mat_VarGetCell(v.get(), int(i));
        if (text && elementCount(*text) == 0) {
            texts.emplace_back();
        } else if (text && text->class_type == MAT_C_CHAR && hasData(*text)) {
            texts.push_back(charRow(*text, chars ? i : 0));
        } else {
            error = std::string(name) + " holds something other than text";
            return false;
        }
    }
    if (!v) error = std::string(name) + " cannot be read; the file is damaged";
    return bool(v);
}

std::string textVariable(const MatReader& file, const char* name) {
    const matvar_t* info = file.info(name);
    if (!info || info->class_type != MAT_C_CHAR) return std::string();
    Var v = file.read(*info);
    return v ? charRow(*v, 0) : std::string();
}

bool describe(CMeasure& m, const MatReader& file, std::string& error) {
    describePlainChannels(m);
    std::vector<std::string> names, units;
    if (!channelTexts(file, "names", size_t(m.channelCount), names, error) ||
        !channelTexts(file, "units", size_t(m.channelCount), units, error))
        return false;
    // Names and units as the file gives them, empty ones too.
    for (size_t c = 0; c < names.size(); ++c)
        copyNameField(m.channels[c].name, MAX_CHANNEL_NAME + 1, names[c]);
    for (size_t c = 0; c < units.size(); ++c)
        copyNameField(m.channels[c].unit, MAX_UNIT + 1, units[c]);
    if (const matvar_t* title = file.info("name"); title && title->class_type == MAT_C_CHAR)
        copyNameField(m.name, MAX_NAME + 1, textVariable(file, "name"));
    m.date = parseIsoDate(textVariable(file, "date"));
    return true;
}

bool readMatFile(CMeasure& m, const char* path, bool keep, std::string& error,
                 const ReadOptions& options, ReadReport* report) {
    MatLibraryUse library; // outlives the file and every variable below
    uint64_t dataLimit = 0;
    if (checkMatFile(path, &error, &dataLimit) == MatVersion::None) return false;
    MatFile mat(Mat_Open(path, MAT_ACC_RDONLY));
    if (!mat) {
        error = "the file is damaged";
        return false;
    }
    MatReader file(mat.get(), dataLimit);
    const matvar_t* info = samplesVariable(file, options, report, error);
    double rate = 0;
    if (!info || !fileRate(file, rate, error) || !readSamples(m, file, *info, keep, error) ||
        !describe(m, file, error))
        return false;
    m.sampleRate = rate > 0 ? rate : options.rate;
    if (m.sampleRate > 0 && std::isfinite(m.sampleRate)) {
        if (report) report->rowsRead = report->rowsExpected = m.sampleCount;
        return true;
    }
    error = "the file holds no fs, rate or dt: give the sample rate";
    if (report) report->rateNeeded = true;
    return false;
}

bool readMatAny(CMeasure& m, const char* path, bool keep, std::string* error,
                const ReadOptions& options, ReadReport* report) {
    std::string why;
    const bool ok = readMatFile(m, path, keep, why, options, report);
    if (!ok) {
        // A failed read leaves an empty measurement, never half of one.
        m.truncateSamples(0);
        m.sampleCount = 0;
        describePlainChannels(m);
    }
    copyField(m.path, sizeof m.path, path);
    if (error) *error = ok ? std::string() : why;
    return ok;
}

// ---------------------------------------------------------------------------

} // namespace

bool readMat(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
             ReadReport* report) {
    return readMatAny(m, path, true, error, options, report);
}

bool readMatHeader(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
                   ReadReport* report) {
    return readMatAny(m, path, false, error, options, report);
}

const char* matFormatRefusal(const CMeasure& m) {
    if (const char* why = noSamplesReason(m)) return why;
    if (m.TextValuesPerRow() != m.channelCount)
        return "a MATLAB file holds one value per channel; an analysis result has two";
    if (!(m.sampleRate > 0) || !std::isfinite(m.sampleRate))
        return "a MATLAB file needs a sample rate above 0";
    if (int64_t(m.sampleCount) * m.channelCount * 8 > MAT5_MAX_MATRIX_BYTES)
        return "a MATLAB version 5 file holds less than 2 GiB of samples";
    return nullptr;
}

bool writeMat(CMeasure& m, const char* path, std::string* error) {
    if (const char* why = matFormatRefusal(m)) {
        if (error) *error = why;
        return false;
    }
    AtomicFile out;
    const bool ok = out.open(path) && out.commit(writeMat5(m, out));
    if (!ok && error) *error = out.error();
    return ok;
}

#include "measure/m11_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "measure/atomic_file.h"
#include "measure/derive_velocity.h"
#include "measure/file_io.h"

namespace {

using Record = unsigned char[M11_RECORD_BYTES];

constexpr int END_MARK_OFFSET = 121;
constexpr uint8_t END_MARK = 127;
constexpr int16_t RECORD_TAG = 30000;
constexpr double ORIGINAL_CONSTANT = 0.0444375;
constexpr uint8_t DATA_TYPE = 7;
constexpr double MAX_ROWS = M11_MAX_SAMPLES;
// Data records move to and from the file this many at a time.
constexpr size_t PIECE_RECORDS = 512;

// ----------------------------------------------------------------- reading

enum class Field { Byte, Int16, Double };

struct Check {
    Field field;
    int offset;
    double expected;
    int code;
};

// The checks of the seven header records, in the order they are made; the
// first check of each record is its type.
struct RecordChecks {
    int count;
    Check checks[4];
};

const RecordChecks HEADER_CHECKS[M11_HEADER_RECORDS] = {
    {4,
     {{Field::Byte, 0, 2, 1},
      {Field::Byte, 121, 127, 2},
      {Field::Byte, 1, 1, 3},
      {Field::Byte, 69, 2, 4}}},
    {2, {{Field::Byte, 0, 5, 5}, {Field::Byte, 69, 2, 6}}},
    {2, {{Field::Byte, 0, 5, 7}, {Field::Byte, 69, 2, 8}}},
    {3, {{Field::Byte, 0, 0, 9}, {Field::Int16, 1, RECORD_TAG, 10}, {Field::Byte, 69, 2, 11}}},
    {4,
     {{Field::Byte, 0, 1, 12},
      {Field::Int16, 1, RECORD_TAG, 13},
      {Field::Int16, 3, 1, 14},
      {Field::Byte, 78, 2, 15}}},
    {2, {{Field::Byte, 0, 3, 16}, {Field::Byte, 78, 2, 17}}},
    {2, {{Field::Byte, 0, 4, 18}, {Field::Double, 1, 1.0, 19}}},
};

double fieldValue(const Record record, Field field, int offset) {
    switch (field) {
    case Field::Byte:
        return record[offset];
    case Field::Int16:
        return loadInt16(record + offset);
    default:
        return loadDouble(record + offset);
    }
}

// A time step gives a sample rate when it is positive and finite, and so is
// its reciprocal.
bool usableTimeStep(double step) {
    return step > 0.0 && std::isfinite(step) && std::isfinite(1.0 / step);
}

// Reads records 1 to 7; record 1 stays in `first`. A missing record fails its type check.
int readHeaderRecords(FileHandle& f, Record first) {
    for (int r = 0; r < M11_HEADER_RECORDS; ++r) {
        Record other;
        unsigned char* record = r == 0 ? first : other;
        const RecordChecks& rc = HEADER_CHECKS[r];
        if (!f.readExact(record, M11_RECORD_BYTES)) return rc.checks[0].code;
        for (int i = 0; i < rc.count; ++i) {
            const Check& c = rc.checks[i];
            if (fieldValue(record, c.field, c.offset) != c.expected) return c.code;
        }
    }
    return 0;
}

// How many rows the data records after the current position can hold.
int64_t rowsInFile(const FileHandle& f) {
    int64_t records = f.remaining() / M11_RECORD_BYTES;
    return records > 0 ? records * M11_VALUES_PER_RECORD : 0;
}

// Hands out the data records one at a time, reading them in pieces.
class DataRecords {
  public:
    DataRecords(FileHandle& f, int32_t values) : f_(f), values_(values) {}
    // The next complete record of type 7, or null.
    const unsigned char* next() {
        if (next_ == count_) fill();
        if (next_ == count_) return nullptr;
        const unsigned char* record = &piece_[next_++ * M11_RECORD_BYTES];
        return record[0] == DATA_TYPE ? record : nullptr;
    }

  private:
    void fill() {
        int64_t wanted = (values_ + M11_VALUES_PER_RECORD - 1) / M11_VALUES_PER_RECORD;
        size_t records = size_t(std::min<int64_t>(wanted, PIECE_RECORDS));
        piece_.resize(records * M11_RECORD_BYTES);
        count_ = f_.read(piece_.data(), piece_.size()) / M11_RECORD_BYTES;
        next_ = 0;
        values_ -= int32_t(std::min<int64_t>(values_, int64_t(count_) * M11_VALUES_PER_RECORD));
    }

    FileHandle& f_;
    int32_t values_; // values still to be fetched from the file
    std::vector<unsigned char> piece_;
    size_t count_ = 0, next_ = 0;
};

// Reads `n` values into channel 0, zeroing the rest of each row, until a data
// record fails. Returns 0 or the failing check's code; `m.sampleCount` is
// the number of rows read.
int readDataRecords(FileHandle& f, CMeasure& m, int32_t n) {
    const int32_t capacity = m.sampleCount;
    DataRecords records(f, n);
    const unsigned char* record = nullptr;
    int32_t j = 0;
    int code = 0;
    for (; j < n; ++j) {
        int slot = j % M11_VALUES_PER_RECORD;
        if (slot == 0) record = j < capacity ? records.next() : nullptr;
        if (j >= capacity || !record) {
            code = M11_BAD_DATA_RECORD;
            break;
        }
        m.setSample(0, j, Sample{float(loadDouble(record + 1 + 8 * slot)), 0.0f});
        m.setSample(1, j, Sample{0.0f, 0.0f});
    }
    if (j < capacity) m.truncateSamples(j);
    return code;
}

void describeFlap(CMeasure& m) {
    m.date = 0;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    copyField(m.name, sizeof m.name, "Przemieszczenie klapy z pliku M11");
    setChannelInfo(m.channels[0], 1.0, 0.0, "m", "Przemieszczenie klapy");
    // "Prędkość przemieszczenia klapy", in Windows-1250 like every name in
    // memory ("\x64" is the d, which would otherwise extend the escape before it).
    setChannelInfo(m.channels[1], 1.0, 0.0, "m/s", "Pr\xEA\x64ko\x9C\xE6 przemieszczenia klapy");
    resetParameters(m.signalParameters[0]);
    resetParameters(m.signalParameters[1]);
}

// The header records: sample rate, rows (as many of those declared as the
// file can hold) and the channel descriptions. `declared` gets the declared count.
int readDescription(FileHandle& f, CMeasure& m, int32_t& declared) {
    Record first;
    if (int code = readHeaderRecords(f, first)) return code;
    double count = loadDouble(first + 81);
    if (!std::isfinite(count) || count < 0.0 || std::floor(count + 0.5) > MAX_ROWS)
        return M11_BAD_SAMPLE_COUNT;
    const double step = loadDouble(first + 105);
    if (!usableTimeStep(step)) return M11_BAD_TIME_STEP;
    declared = int32_t(std::floor(count + 0.5));
    m.channelCount = 2;
    m.sampleRate = 1.0 / step;
    // A sample count larger than the file can carry must not size the block.
    m.sampleCount = int32_t(std::min<int64_t>(declared, rowsInFile(f)));
    describeFlap(m);
    return 0;
}

int readFile(FileHandle& f, CMeasure& m, int32_t& n) {
    if (int code = readDescription(f, m, n)) return code;
    const int64_t rows = m.sampleCount;
    int code = 0;
    if (!m.allocateSamples(rows, 2, SAMPLE_FORMAT_REAL)) {
        m.sampleCount = 0;
        code = M11_NO_MEMORY;
    } else {
        code = readDataRecords(f, m, n);
    }
    deriveVelocity(m);
    return code;
}

// ----------------------------------------------------------------- writing

struct Statistics {
    double minimum = 0, minimumIndex = 0, maximum = 0, maximumIndex = 0;
    double mean = 0, meanOfSquares = 0, correlation = 0;
};

// Statistics of channel 0's real parts as stored; all zero without values. The
// correlation is 0 for one value or a constant signal, where it has no finite value.
Statistics channelStatistics(const CMeasure& m, int32_t n) {
    Statistics s;
    if (n == 0) return s;
    double sum = 0, squares = 0, lagged = 0;
    s.minimum = s.maximum = m.value(0, 0);
    for (int32_t i = 0; i < n; ++i) {
        double x = m.value(0, i);
        if (x < s.minimum) {
            s.minimum = x;
            s.minimumIndex = i;
        }
        if (x > s.maximum) {
            s.maximum = x;
            s.maximumIndex = i;
        }
        sum += x;
        squares += x * x;
        if (i + 1 < n) lagged += x * double(m.value(0, i + 1));
    }
    s.mean = sum / n;
    s.meanOfSquares = squares / n;
    double spread = 0;
    for (int32_t i = 0; i < n; ++i)
        spread += (m.value(0, i) - s.mean) * (m.value(0, i) - s.mean);
    if (n > 1 && spread > 0) s.correlation = (lagged / (n - 1)) / (spread / n);
    return s;
}

void startRecord(Record record, uint8_t type) {
    std::memset(record, 0, M11_RECORD_BYTES);
    record[0] = type;
    record[END_MARK_OFFSET] = END_MARK;
}

void putText(Record record, int offset, const char* text, int capacity) {
    std::memcpy(record + offset, text, strnlen(text, size_t(capacity)));
}

// Collects records and writes them in pieces; remembers whether any write failed.
class RecordWriter {
  public:
    explicit RecordWriter(FileHandle& f) : f_(f) {}
    void add(const Record record) {
        buffer_.insert(buffer_.end(), record, record + M11_RECORD_BYTES);
        if (buffer_.size() >= PIECE_RECORDS * M11_RECORD_BYTES) flush();
    }
    bool finish() {
        flush();
        return ok_;
    }

  private:
    void flush() {
        ok_ = ok_ && f_.writeAll(buffer_.data(), buffer_.size());
        buffer_.clear();
    }

    FileHandle& f_;
    std::vector<unsigned char> buffer_;
    bool ok_ = true;
};

// Record 5: channel 0's name and statistics.
void channelRecord(Record r, const CMeasure& m, int32_t n) {
    Statistics s = channelStatistics(m, n);
    startRecord(r, 1);
    storeInt16(r + 1, RECORD_TAG);
    storeInt16(r + 3, 1);
    putText(r, 5, m.channels[0].name, MAX_CHANNEL_NAME);
    const double extremes[4] = {s.minimum, s.minimumIndex, s.maximum, s.maximumIndex};
    for (int i = 0; i < 4; ++i)
        storeDouble(r + 46 + 8 * i, extremes[i]);
    r[78] = 2;
    storeDouble(r + 88, s.mean);
    storeDouble(r + 96, s.meanOfSquares);
    storeDouble(r + 104, s.correlation);
}

void writeHeaderRecords(RecordWriter& out, const CMeasure& m, int32_t n) {
    Record r[M11_HEADER_RECORDS];
    startRecord(r[0], 2);
    r[0][1] = 1;
    r[0][69] = 2;
    storeDouble(r[0] + 81, n);
    storeDouble(r[0] + 89, ORIGINAL_CONSTANT);
    storeDouble(r[0] + 97, 0.0);
    storeDouble(r[0] + 105, 1.0 / m.sampleRate);
    startRecord(r[1], 5);
    putText(r[1], 1, m.name, MAX_NAME);
    r[1][69] = 2;
    startRecord(r[2], 5);
    putText(r[2], 1, "Sec", 3);
    r[2][69] = 2;
    startRecord(r[3], 0);
    storeInt16(r[3] + 1, RECORD_TAG);
    putText(r[3], 3, m.name, MAX_NAME);
    r[3][69] = 2;
    channelRecord(r[4], m, n);
    startRecord(r[5], 3);
    r[5][78] = 2;
    startRecord(r[6], 4);
    storeDouble(r[6] + 1, 1.0);
    for (const Record& record : r)
        out.add(record);
}

void writeDataRecords(RecordWriter& out, const CMeasure& m, int32_t n) {
    // The synthesiser works in metres.
    const bool centimetres = std::strncmp(m.channels[0].unit, "cm", 2) == 0;
    Record record;
    for (int32_t j = 0; j < n; ++j) {
        int slot = j % M11_VALUES_PER_RECORD;
        if (slot == 0) startRecord(record, DATA_TYPE);
        double value = m.value(0, j);
        storeDouble(record + 1 + 8 * slot, centimetres ? value / 100.0 : value);
        if (slot == M11_VALUES_PER_RECORD - 1 || j == n - 1) out.add(record);
    }
}

} // namespace

namespace {

int readWith(CMeasure& m, const char* path, int32_t* declared,
             int (*reader)(FileHandle&, CMeasure&, int32_t&)) {
    OpenError opened;
    FileHandle f = FileHandle::openRead(path, &opened);
    int code = M11_CANNOT_OPEN;
    int32_t rows = 0;
    if (f.valid())
        code = reader(f, m, declared ? *declared : rows);
    else if (opened == OpenError::NotRegularFile)
        code = M11_NOT_A_FILE;
    copyField(m.path, sizeof m.path, path);
    return code;
}

} // namespace

int readM11(CMeasure& m, const char* path, int32_t* declared) {
    if (declared) *declared = 0;
    return readWith(m, path, declared, &readFile);
}

int readM11Header(CMeasure& m, const char* path, int32_t* declared) {
    if (declared) *declared = 0;
    return readWith(m, path, declared, &readDescription);
}

const char* m11FormatRefusal(const CMeasure& m) {
    if (const char* why = noSamplesReason(m)) return why;
    if (m.sampleCount > M11_MAX_SAMPLES)
        return "an .M11 file holds at most 134217727 samples (the reader keeps two channels)";
    if (!usableTimeStep(1.0 / m.sampleRate))
        return "an .M11 file needs a positive, finite sample rate";
    return nullptr;
}

bool writeM11(CMeasure& m, const char* path, std::string* error) {
    if (const char* why = m11FormatRefusal(m)) {
        if (error) *error = why;
        return false;
    }
    AtomicFile f;
    bool ok = f.open(path);
    if (ok) {
        copyField(m.path, sizeof m.path, path);
        const int32_t n = m.sampleCount;
        RecordWriter out(f.file());
        writeHeaderRecords(out, m, n);
        writeDataRecords(out, m, n);
        ok = f.commit(out.finish());
    }
    if (!ok && error) *error = f.error();
    return ok;
}

const char* m11CheckText(int code) {
    static const char* const texts[] = {
        "the file was read",
        "record 1 is missing or not of type 2",
        "record 1 does not end with byte 127",
        "byte 1 of record 1 is not 1",
        "byte 69 of record 1 is not 2",
        "record 2 is missing or not of type 5",
        "byte 69 of record 2 is not 2",
        "record 3 is missing or not of type 5",
        "byte 69 of record 3 is not 2",
        "record 4 is missing or not of type 0",
        "record 4 does not start with 30000",
        "byte 69 of record 4 is not 2",
        "record 5 is missing or not of type 1",
        "record 5 does not start with 30000",
        "record 5 is not about channel 1",
        "byte 78 of record 5 is not 2",
        "record 6 is missing or not of type 3",
        "byte 78 of record 6 is not 2",
        "record 7 is missing or not of type 4",
        "record 7 does not hold 1.0",
        "a data record is missing or not of type 7",
        "the sample count in record 1 is not usable",
        "the file cannot be opened",
        "not enough memory for the samples",
        "the time step in record 1 is not a positive, finite number",
        "not a regular file",
    };
    if (code < 0 || code >= int(sizeof texts / sizeof texts[0])) return "unknown check code";
    return texts[code];
}

// The in-memory measurement: a fixed-size header and one block of samples (see SampleLayout).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

constexpr int MAX_CHANNELS = 64;
constexpr int MAX_COMPONENTS = 10;
constexpr int MAX_NAME = 60;
constexpr int MAX_CHANNEL_NAME = 40;
constexpr int MAX_UNIT = 7;
constexpr int MAX_COMPONENT_NAME = 40;
constexpr int MAX_PATH_CHARS = 255;

// In-memory sample layouts; files may carry others (see int_format.h).
constexpr int8_t SAMPLE_FORMAT_REAL = 5;
constexpr int8_t SAMPLE_FORMAT_COMPLEX = 6;

struct Sample {
    float re;
    float im;
};

struct ChannelInfo {
    double coefficient;
    double constant;
    char unit[8];
    char name[48];
    double reserved[4];
};

struct SignalComponent {
    char name[48];
    double frequency;
    double a;
    double d;
    double eta;
    double amplitude;
    double k;
};

struct SignalParameters {
    double level;
    double unused[2]; // set to 100.0 and carried along; nothing reads them
    int32_t componentCount;
    SignalComponent components[MAX_COMPONENTS];
};

static_assert(sizeof(Sample) == 8, "Sample is two floats");
static_assert(sizeof(ChannelInfo) == 104, "ChannelInfo layout");
static_assert(sizeof(SignalComponent) == 96, "SignalComponent layout");
static_assert(sizeof(SignalParameters) == 992, "SignalParameters layout");

// A channel and a range of samples; from > to means the range runs downwards.
struct BlockRange {
    int32_t channel;
    int32_t from;
    int32_t to;
};

// Copies at most `capacity` - 1 bytes of `text` into `field` and terminates it.
void copyField(char* field, int capacity, const char* text);

void setChannelInfo(ChannelInfo& info, double coefficient, double constant, const char* unit,
                    const char* name);
void resetParameters(SignalParameters& params);
void insertComponent(SignalParameters& params, int index, const SignalComponent& component);
void removeComponent(SignalParameters& params, int index);
void appendComponent(SignalParameters& params, const SignalComponent& component);

// Packs a broken-down local time into the MS-DOS date-time layout.
uint32_t packDosDate(int year, int month, int day, int hours, int minutes, int seconds);

class CHeader {
  public:
    CHeader();
    CHeader(const CHeader& other);
    virtual ~CHeader();
    CHeader& operator=(const CHeader& other);

    const char* dateText(char* buffer, int length) const;
    void stampDate();

    SignalParameters signalParameters[MAX_CHANNELS];
    int8_t sampleFormat;
    char path[256];
    double sampleRate;
    int32_t channelCount;
    int32_t sampleCount;
    char name[64];
    uint32_t date;
    ChannelInfo channels[MAX_CHANNELS];
};

// Where CopyBlock puts its text. The desktop program installs the system
// clipboard; without one, CopyBlock does nothing (as with a clipboard that
// cannot be opened).
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual bool setText(const std::string& text) = 0;
};
void setClipboard(Clipboard* clipboard);
Clipboard* clipboard();

// Rows of a block after clamping to 0..sampleCount: `count` rows starting at
// `first`, stepping by `step` (+1 upwards, -1 downwards).
struct RowWalk {
    int32_t first;
    int32_t step;
    int32_t count;
};
RowWalk clampRows(int32_t from, int32_t to, int32_t sampleCount);

// One channel's values as a run of floats: row i's real part at re[i * stride],
// its imaginary part, in a complex record, at re[i * stride + 1].
template <typename Float> struct ChannelRun {
    Float* re = nullptr;
    int64_t stride = 1;
    bool complex = false;
    Float& operator[](int64_t row) const { return re[row * stride]; }
    float im(int64_t row) const { return complex ? re[row * stride + 1] : 0.0f; }
    explicit operator bool() const { return re != nullptr; }
};
using ChannelValues = ChannelRun<const float>;
using ChannelSpan = ChannelRun<float>;

// Channel `channel` of rows of `channels` complex pairs.
inline ChannelValues pairRun(const Sample* rows, int channels, int channel) {
    return {rows ? &rows[channel].re : nullptr, 2 * int64_t(channels), true};
}

// How a measurement's block holds its samples.
enum class SampleLayout : int8_t {
    // Complex pairs row after row: rows x channels Samples. Transforms and
    // filters write their results so, a row of all their outputs at a time.
    PairRows,
    // float32, one column of rows per channel: a real record at its own size,
    // and one channel's block read without striding and handed to numpy and
    // FFTW without a copy. Readers of row-ordered files transpose on the way
    // in, which costs little next to the disk.
    RealColumns,
};

class CMeasure : public CHeader {
  public:
    CMeasure();
    CMeasure(const CMeasure&) = delete;
    CMeasure& operator=(const CMeasure&) = delete;
    ~CMeasure() override;

    // Obtains the block for channelCount x sampleCount samples of
    // sampleFormat (columns of floats for a real record, rows of pairs for a
    // complex one), keeping the present one when it is already that; contents
    // undefined. False when the memory cannot be had, with `refusal` saying
    // why (the sizes when it is more than the machine has); the measurement
    // then has none.
    bool allocateSamples(std::string* refusal = nullptr);
    // The same for `rows` x `channels` samples of `format`, which it sets.
    bool allocateSamples(int64_t rows, int channels, int8_t format,
                         std::string* refusal = nullptr) {
        if (rows < 0 || rows > INT32_MAX) {
            if (refusal) *refusal = "a measurement holds at most 2147483647 rows";
            return false;
        }
        sampleCount = int32_t(rows);
        channelCount = channels;
        sampleFormat = format;
        return allocateSamples(refusal);
    }
    // Shrinks the sample count keeping the first rows (a read stopped early).
    void truncateSamples(int64_t rows);
    // Releases the block.
    void releaseSamples();

    bool hasSamples() const { return block_ != nullptr; }
    SampleLayout layout() const { return layout_; }
    // Bytes the block holds.
    int64_t sampleBytes() const { return sampleBytes_; }
    // Rows the block holds for every channel: the sample count, or fewer
    // when the count was raised without a new block (never read past it).
    int64_t heldRows() const;
    bool holdsAllRows() const { return hasSamples() && heldRows() >= sampleCount; }
    // Rows a column of a real record has room for (its stride).
    int64_t columnRows() const { return columnRows_; }
    // Channel c's run of values (empty without samples or such a channel).
    ChannelValues values(int c) const {
        if (!block_ || !hasChannel(c)) return {};
        if (layout_ == SampleLayout::RealColumns) return {columnAt(c), 1, false};
        return {&pairs()[c].re, 2 * int64_t(channelCount), true};
    }
    ChannelSpan span(int c) {
        const ChannelValues v = values(c);
        return {const_cast<float*>(v.re), v.stride, v.complex};
    }
    float value(int c, int64_t row) const { return values(c)[row]; }
    // const: a copy, which must not pass for the sample itself.
    const Sample sample(int c, int64_t row) const {
        const ChannelValues v = values(c);
        return Sample{v[row], v.im(row)};
    }
    // Writes a sample; a real record keeps its real part only.
    void setSample(int c, int64_t row, Sample s) {
        const ChannelSpan v = span(c);
        if (!v) return;
        v[row] = s.re;
        if (v.complex) v.re[row * v.stride + 1] = s.im;
    }
    // The block of a complex record (rows of pairs); null for a real one.
    Sample* pairRows() { return layout_ == SampleLayout::PairRows ? pairs() : nullptr; }
    const Sample* pairRows() const { return layout_ == SampleLayout::PairRows ? pairs() : nullptr; }
    // Channel c's column of a real record; null for a complex one.
    float* column(int c) { return layout_ == SampleLayout::RealColumns ? columnAt(c) : nullptr; }
    const float* column(int c) const {
        return layout_ == SampleLayout::RealColumns ? columnAt(c) : nullptr;
    }
    // The whole block as bytes, for files that keep it as it is in memory.
    void* blockBytes() { return block_; }
    const void* blockBytes() const { return block_; }

    bool hasChannel(int channel) const { return channel >= 0 && channel < channelCount; }

    virtual void CopyBlock(int32_t channel, int32_t from, int32_t to);
    virtual void EraseBlock(int32_t channel, int32_t from, int32_t to);
    virtual void AddComponent(int32_t first, int32_t second);
    virtual bool WriteText(std::FILE* stream);
    // How many values WriteText writes per row after the X value.
    virtual int32_t TextValuesPerRow() const { return channelCount; }

    // Takes a block mapped from shared memory (a reader's child process
    // filled it) as the samples, in `layout` with columns `columnRows`
    // long, released with munmap; `mappedBytes` is the mapping's length, at
    // least `bytes`.
    void adoptMapping(void* block, int64_t bytes, int64_t mappedBytes, SampleLayout layout,
                      int64_t columnRows);
    // Whether the samples are such a mapping (not from malloc).
    bool samplesMapped() const { return mappedBytes_ > 0; }
    // Hands the block over to the caller (malloc'd, not mapped), leaving the
    // measurement without; null when mapped or empty.
    void* releaseBlock(int64_t* bytes);
    // Its own copy of `other`'s block, in the same layout; false when the
    // memory cannot be had.
    bool copySamplesFrom(const CMeasure& other);
    // Reads `rows` values of one channel, real, from memory the caller keeps
    // (a Python array) for as long as the measurement reads it: no copy.
    void borrowColumn(float* values, int64_t rows);
    // Takes a malloc'd block of `bytes` as its samples in `layout`.
    void adoptBlock(void* block, int64_t bytes, SampleLayout layout);

  private:
    Sample* pairs() const { return static_cast<Sample*>(block_); }
    float* columnAt(int c) const { return static_cast<float*>(block_) + c * columnRows_; }
    void setBlock(void* block, int64_t bytes, SampleLayout layout, int64_t columnRows);

    void* block_ = nullptr;
    int64_t sampleBytes_ = 0;
    int64_t mappedBytes_ = 0;
    bool borrowed_ = false; // the caller's memory, never released here
    // Rows a column has room for (a cut read keeps its first rows in place).
    int64_t columnRows_ = 0;
    SampleLayout layout_ = SampleLayout::PairRows;
};

// Bytes of `rows` x `channels` samples in the layout a record of `format`
// is held in (0 when the product does not fit).
int64_t samplesBytes(int64_t rows, int64_t channels, int8_t format);
// The memory this process may still take: the machine's available memory,
// or less under an address-space limit.
int64_t availableMemory();

// Where a process gets new sample blocks from instead of malloc: a reader's
// child process maps them from memory its parent then takes over. Null (the
// default) for malloc. Returns null when no block can be had.
using SampleBlockSource = void* (*)(int64_t bytes);
void setSampleBlockSource(SampleBlockSource source);

// Why `m` gives a writer nothing to write (no channels, no samples), or null.
// Every format refuses such a measurement: its file would be empty or unreadable.
const char* noSamplesReason(const CMeasure& m);

// The description a reader gives a measurement whose file names nothing: name
// "Pomiar", no date, real samples, channel i (from 1) "Channel i" with unit "?",
// coefficient 1, constant 0, and default signal parameters.
void describePlainChannels(CMeasure& m);

// The text of one channel's block, one "%5e\t%5e\t%5e" line per row (X value,
// re, im) with CR LF line ends; empty for a channel outside the measurement.
std::string blockText(const CMeasure& m, int32_t channel, int32_t from, int32_t to);

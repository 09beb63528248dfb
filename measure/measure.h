// The in-memory measurement: a fixed-size header and one block of complex samples.
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

class CMeasure : public CHeader {
  public:
    CMeasure();
    CMeasure(const CMeasure&) = delete;
    CMeasure& operator=(const CMeasure&) = delete;
    ~CMeasure() override;

    // Keeps the block when `bytes` is its size; otherwise releases it and
    // obtains a new one (contents undefined). Returns false when the new block
    // could not be obtained; the measurement then has none.
    bool resizeSamples(int64_t bytes);
    // Shrinks the sample count keeping the first rows (a read stopped early).
    void truncateSamples(int32_t rows);

    Sample& at(int channel, int row) { return samples[int64_t(row) * channelCount + channel]; }
    const Sample& at(int channel, int row) const {
        return samples[int64_t(row) * channelCount + channel];
    }
    bool hasChannel(int channel) const { return channel >= 0 && channel < channelCount; }

    virtual void CopyBlock(int32_t channel, int32_t from, int32_t to);
    virtual void EraseBlock(int32_t channel, int32_t from, int32_t to);
    virtual void AddComponent(int32_t first, int32_t second);
    virtual bool WriteText(std::FILE* stream);
    // How many values WriteText writes per row after the X value.
    virtual int32_t TextValuesPerRow() const { return channelCount; }

    // Takes a block mapped from shared memory (a reader's child process
    // filled it) as the samples, released with munmap; `mappedBytes` is
    // the mapping's length, at least `bytes`.
    void adoptMapping(Sample* block, int64_t bytes, int64_t mappedBytes);
    // Whether the samples are such a mapping (not from malloc).
    bool samplesMapped() const { return mappedBytes_ > 0; }

    Sample* samples = nullptr;
    int32_t sampleBytes = 0;

  private:
    void releaseSamples();
    int64_t mappedBytes_ = 0;
};

// Where a process gets new sample blocks from instead of malloc: a reader's
// child process maps them from memory its parent then takes over. Null (the
// default) for malloc. Returns null when no block can be had.
using SampleBlockSource = Sample* (*)(int64_t bytes);
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

#include "measure/measure.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <sys/mman.h>

#include "measure/number_text.h"

void copyField(char* field, int capacity, const char* text) {
    size_t n = text ? strnlen(text, size_t(capacity - 1)) : 0;
    std::memcpy(field, text, n);
    field[n] = '\0';
}

void setChannelInfo(ChannelInfo& info, double coefficient, double constant, const char* unit,
                    const char* name) {
    info.coefficient = coefficient;
    info.constant = constant;
    copyField(info.unit, MAX_UNIT + 1, unit);
    copyField(info.name, MAX_CHANNEL_NAME + 1, name);
}

void resetParameters(SignalParameters& params) {
    params.level = 0.0;
    params.unused[0] = 100.0;
    params.unused[1] = 100.0;
    params.componentCount = 0;
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        SignalComponent& c = params.components[i];
        std::memset(c.name, 0, sizeof c.name);
        std::snprintf(c.name, sizeof c.name, "Component no %d", i + 1);
        c.frequency = 10.0;
        c.a = c.d = c.eta = 0.0;
        c.amplitude = 100.0;
        c.k = 5.0;
    }
}

void insertComponent(SignalParameters& params, int index, const SignalComponent& component) {
    int n = params.componentCount;
    if (n >= MAX_COMPONENTS || index < 0 || index > n) return;
    std::memmove(&params.components[index + 1], &params.components[index],
                 sizeof(SignalComponent) * size_t(n - index));
    params.components[index] = component;
    params.componentCount = n + 1;
}

void removeComponent(SignalParameters& params, int index) {
    int n = params.componentCount;
    if (index < 0 || index >= n) return;
    std::memmove(&params.components[index], &params.components[index + 1],
                 sizeof(SignalComponent) * size_t(n - 1 - index));
    params.componentCount = n - 1;
}

void appendComponent(SignalParameters& params, const SignalComponent& component) {
    if (params.componentCount < 0 || params.componentCount >= MAX_COMPONENTS) return;
    params.components[params.componentCount++] = component;
}

uint32_t packDosDate(int year, int month, int day, int hours, int minutes, int seconds) {
    return uint32_t(seconds / 2) | uint32_t(minutes) << 5 | uint32_t(hours) << 11 |
           uint32_t(day) << 16 | uint32_t(month) << 21 | uint32_t(year - 1980) << 25;
}

// ---------------------------------------------------------------------------

CHeader::CHeader() {
    // Everything zero: no channels, no samples, empty texts.
    std::memset(signalParameters, 0, sizeof signalParameters);
    std::memset(channels, 0, sizeof channels);
    std::memset(path, 0, sizeof path);
    std::memset(name, 0, sizeof name);
    sampleFormat = SAMPLE_FORMAT_REAL;
    sampleRate = 0.0;
    channelCount = 0;
    sampleCount = 0;
    date = 0;
}

CHeader::CHeader(const CHeader& other) : CHeader() {
    *this = other;
}

CHeader::~CHeader() = default;

CHeader& CHeader::operator=(const CHeader& other) {
    if (this == &other) return *this;
    std::memcpy(signalParameters, other.signalParameters, sizeof signalParameters);
    sampleFormat = other.sampleFormat;
    std::memcpy(path, other.path, sizeof path);
    sampleRate = other.sampleRate;
    channelCount = other.channelCount;
    sampleCount = other.sampleCount;
    std::memcpy(name, other.name, MAX_NAME + 1);
    date = other.date;
    std::memcpy(channels, other.channels, sizeof channels);
    return *this;
}

const char* CHeader::dateText(char* buffer, int length) const {
    if (length <= 0) return buffer;
    std::snprintf(buffer, size_t(length), "%04d-%02d-%02d at %02d:%02d:%02d",
                  int(date >> 25) + 1980, int(date >> 21 & 0xF), int(date >> 16 & 0x1F),
                  int(date >> 11 & 0x1F), int(date >> 5 & 0x3F), int(date & 0x1F) * 2);
    return buffer;
}

void CHeader::stampDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    date = packDosDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                       local.tm_min, local.tm_sec);
}

// ---------------------------------------------------------------------------

static Clipboard* g_clipboard = nullptr;

void setClipboard(Clipboard* c) {
    g_clipboard = c;
}
Clipboard* clipboard() {
    return g_clipboard;
}

RowWalk clampRows(int32_t from, int32_t to, int32_t sampleCount) {
    auto clamp = [&](int32_t v) { return v < 0 ? 0 : v > sampleCount ? sampleCount : v; };
    from = clamp(from);
    to = clamp(to);
    if (from < to) return {from, 1, to - from};
    if (from > to) return {from - 1, -1, from - to};
    return {from, 1, 0};
}

CMeasure::CMeasure() = default;

CMeasure::~CMeasure() {
    releaseSamples();
}

namespace {

SampleBlockSource g_blockSource = nullptr;

} // namespace

void setSampleBlockSource(SampleBlockSource source) {
    g_blockSource = source;
}

// Large sample blocks are asked for in transparent huge pages: filling a block
// of hundreds of megabytes otherwise spends much of its time in page faults.
static Sample* allocateBlock(size_t bytes) {
    constexpr size_t HUGE_PAGE = size_t(2) << 20;
    if (bytes < 4 * HUGE_PAGE) return static_cast<Sample*>(std::malloc(bytes));
    size_t rounded = (bytes + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    void* block = std::aligned_alloc(HUGE_PAGE, rounded);
    if (block) madvise(block, rounded, MADV_HUGEPAGE);
    return static_cast<Sample*>(block);
}

void CMeasure::releaseSamples() {
    if (mappedBytes_ > 0)
        munmap(samples, size_t(mappedBytes_));
    else
        std::free(samples);
    samples = nullptr;
    sampleBytes = 0;
    mappedBytes_ = 0;
}

void CMeasure::adoptMapping(Sample* block, int64_t bytes, int64_t mappedBytes) {
    releaseSamples();
    samples = block;
    sampleBytes = int32_t(bytes);
    mappedBytes_ = mappedBytes;
}

bool CMeasure::resizeSamples(int64_t bytes) {
    if (samples && bytes == sampleBytes) return true;
    if (!samples && bytes == 0) return true;
    releaseSamples();
    if (bytes <= 0 || bytes > INT32_MAX) return bytes == 0;
    if (g_blockSource) {
        samples = g_blockSource(bytes);
        if (samples) mappedBytes_ = bytes;
    } else {
        samples = allocateBlock(size_t(bytes));
    }
    if (!samples) return false;
    sampleBytes = int32_t(bytes);
    return true;
}

void CMeasure::truncateSamples(int32_t rows) {
    if (rows < 0 || rows >= sampleCount) return;
    sampleCount = rows;
    int64_t bytes = int64_t(rows) * channelCount * int64_t(sizeof(Sample));
    if (!samples) return;
    if (bytes == 0) {
        resizeSamples(0);
        return;
    }
    // A mapping keeps its pages; only the rows in use count.
    if (mappedBytes_ == 0)
        if (void* smaller = std::realloc(samples, size_t(bytes)))
            samples = static_cast<Sample*>(smaller);
    sampleBytes = int32_t(bytes);
}

const char* noSamplesReason(const CMeasure& m) {
    if (m.channelCount <= 0) return "the measurement has no channels";
    if (m.sampleCount <= 0 || !m.samples) return "the measurement has no samples";
    return nullptr;
}

void describePlainChannels(CMeasure& m) {
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    m.date = 0;
    copyField(m.name, sizeof m.name, "Pomiar");
    for (int c = 0; c < m.channelCount; ++c) {
        char name[32];
        std::snprintf(name, sizeof name, "Channel %d", c + 1);
        setChannelInfo(m.channels[c], 1.0, 0.0, "?", name);
        resetParameters(m.signalParameters[c]);
    }
}

std::string blockText(const CMeasure& m, int32_t channel, int32_t from, int32_t to) {
    std::string text;
    if (!m.samples || !m.hasChannel(channel)) return text;
    RowWalk walk = clampRows(from, to, m.sampleCount);
    text.reserve(size_t(walk.count) * 48);
    int32_t row = walk.first;
    for (int32_t i = 0; i < walk.count; ++i, row += walk.step) {
        const Sample& s = m.at(channel, row);
        appendE(text, row / m.sampleRate, 5);
        text += '\t';
        appendE(text, s.re, 5);
        text += '\t';
        appendE(text, s.im, 5);
        text += "\r\n";
    }
    return text;
}

void CMeasure::CopyBlock(int32_t channel, int32_t from, int32_t to) {
    if (!samples || !g_clipboard || !hasChannel(channel)) return;
    g_clipboard->setText(blockText(*this, channel, from, to));
}

void CMeasure::EraseBlock(int32_t channel, int32_t from, int32_t to) {
    if (!samples || !hasChannel(channel)) return;
    RowWalk walk = clampRows(from, to, sampleCount);
    int32_t row = walk.first;
    for (int32_t i = 0; i < walk.count; ++i, row += walk.step)
        at(channel, row) = Sample{0.0f, 0.0f};
}

void CMeasure::AddComponent(int32_t, int32_t) {}

bool CMeasure::WriteText(std::FILE* stream) {
    if (!samples) return true;
    std::string line;
    for (int32_t j = 0; j < sampleCount; ++j) {
        line.clear();
        appendE(line, j / sampleRate, 6);
        for (int32_t c = 0; c < channelCount; ++c) {
            line += '\t';
            appendE(line, at(c, j).re, 6);
        }
        line += "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), stream) != line.size()) return false;
    }
    return true;
}

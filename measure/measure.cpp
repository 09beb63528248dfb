#include "measure/measure.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include "measure/huge_page_block.h"
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

int64_t samplesBytes(int64_t rows, int64_t channels, int8_t format) {
    const int64_t size = format == SAMPLE_FORMAT_COMPLEX ? int64_t(sizeof(Sample)) : 4;
    if (rows < 0 || channels < 0) return 0;
    if (channels > 0 && rows > INT64_MAX / size / channels) return 0;
    return rows * channels * size;
}

int64_t availableMemory() {
    int64_t available = INT64_MAX;
    if (std::FILE* f = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        long kib = -1;
        while (kib < 0 && std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "MemAvailable: %ld kB", &kib) != 1) kib = -1;
        std::fclose(f);
        if (kib >= 0) available = int64_t(kib) * 1024;
    }
    // Under an address-space limit what is left of it counts, less the
    // space the process has already mapped.
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        long pages = 0;
        if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        const int64_t left = int64_t(limit.rlim_cur) - int64_t(pages) * sysconf(_SC_PAGESIZE);
        available = std::min(available, std::max<int64_t>(left, 0));
    }
    return available;
}

void CMeasure::setBlock(void* block, int64_t bytes, SampleLayout layout, int64_t columnRows) {
    block_ = block;
    sampleBytes_ = block ? bytes : 0;
    layout_ = layout;
    columnRows_ = columnRows;
}

void CMeasure::releaseSamples() {
    if (mappedBytes_ > 0)
        munmap(block_, size_t(mappedBytes_));
    else if (!borrowed_)
        std::free(block_);
    borrowed_ = false;
    setBlock(nullptr, 0, SampleLayout::PairRows, 0);
    mappedBytes_ = 0;
}

void CMeasure::adoptMapping(void* block, int64_t bytes, int64_t mappedBytes, SampleLayout layout,
                            int64_t columnRows) {
    releaseSamples();
    setBlock(block, bytes, layout, columnRows);
    mappedBytes_ = mappedBytes;
}

void CMeasure::adoptBlock(void* block, int64_t bytes, SampleLayout layout) {
    releaseSamples();
    setBlock(block, bytes, layout, sampleCount);
}

bool CMeasure::copySamplesFrom(const CMeasure& other) {
    releaseSamples();
    if (!other.block_) return true;
    void* block = allocateHugePageBlock(size_t(other.sampleBytes_));
    if (!block) return false;
    std::memcpy(block, other.block_, size_t(other.sampleBytes_));
    setBlock(block, other.sampleBytes_, other.layout_, other.columnRows_);
    return true;
}

void CMeasure::borrowColumn(float* values, int64_t rows) {
    releaseSamples();
    channelCount = 1;
    sampleCount = int32_t(rows);
    sampleFormat = SAMPLE_FORMAT_REAL;
    setBlock(values, rows * int64_t(sizeof(float)), SampleLayout::RealColumns, rows);
    borrowed_ = values != nullptr;
}

void* CMeasure::releaseBlock(int64_t* bytes) {
    if (!block_ || mappedBytes_ > 0 || borrowed_) return nullptr;
    void* block = block_;
    *bytes = sampleBytes_;
    setBlock(nullptr, 0, SampleLayout::PairRows, 0);
    return block;
}

// A block from the process's source (a reading child's shared memory) or
// from malloc.
static void* obtainBlock(int64_t bytes, bool* mapped) {
    *mapped = g_blockSource != nullptr;
    return g_blockSource ? g_blockSource(bytes) : allocateHugePageBlock(size_t(bytes));
}

bool CMeasure::allocateSamples(std::string* refusal) {
    const SampleLayout layout =
        sampleFormat == SAMPLE_FORMAT_COMPLEX ? SampleLayout::PairRows : SampleLayout::RealColumns;
    const int64_t rows = std::max<int64_t>(sampleCount, 0);
    const int64_t bytes = samplesBytes(rows, std::max(channelCount, 0), sampleFormat);
    if (block_ && layout == layout_ && bytes == sampleBytes_ && columnRows_ == rows) return true;
    releaseSamples();
    if (bytes == 0) return rows == 0 || channelCount <= 0;
    if (!g_blockSource) {
        const int64_t available = availableMemory();
        if (bytes > available) {
            if (refusal) {
                char text[160];
                std::snprintf(text, sizeof text,
                              "the samples need %lld MB and the machine has %lld MB available",
                              (long long)(bytes >> 20), (long long)(available >> 20));
                *refusal = text;
            }
            return false;
        }
    }
    bool mapped = false;
    void* block = obtainBlock(bytes, &mapped);
    if (!block) {
        if (refusal) *refusal = "not enough memory for the samples";
        return false;
    }
    setBlock(block, bytes, layout, rows);
    if (mapped) mappedBytes_ = bytes;
    return true;
}

int64_t CMeasure::heldRows() const {
    if (!block_ || channelCount < 1) return 0;
    const int64_t rows = layout_ == SampleLayout::RealColumns
                             ? columnRows_
                             : sampleBytes_ / (int64_t(sizeof(Sample)) * channelCount);
    return std::min<int64_t>(rows, std::max<int64_t>(sampleCount, 0));
}

void CMeasure::truncateSamples(int64_t rows) {
    if (rows < 0 || rows >= sampleCount) return;
    sampleCount = rows;
    if (!block_) return;
    if (rows == 0 || channelCount <= 0) {
        releaseSamples();
        return;
    }
    int64_t bytes = sampleBytes_;
    if (layout_ == SampleLayout::RealColumns) {
        // The columns close up behind the first one.
        float* base = static_cast<float*>(block_);
        for (int c = 1; c < channelCount; ++c)
            std::memmove(base + c * rows, base + c * columnRows_, size_t(rows) * sizeof(float));
        columnRows_ = rows;
        bytes = rows * channelCount * int64_t(sizeof(float));
    } else {
        bytes = rows * channelCount * int64_t(sizeof(Sample));
    }
    // A mapping keeps its pages, as borrowed memory does; only the rows in
    // use count.
    if (mappedBytes_ == 0 && !borrowed_)
        if (void* smaller = std::realloc(block_, size_t(bytes))) block_ = smaller;
    setBlock(block_, bytes, layout_, columnRows_);
}

const char* noSamplesReason(const CMeasure& m) {
    if (m.channelCount <= 0) return "the measurement has no channels";
    if (m.sampleCount <= 0 || !m.hasSamples()) return "the measurement has no samples";
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
    const ChannelValues v = m.values(channel);
    if (!v) return text;
    RowWalk walk = clampRows(from, to, m.sampleCount);
    text.reserve(size_t(walk.count) * 48);
    int32_t row = walk.first;
    for (int32_t i = 0; i < walk.count; ++i, row += walk.step) {
        appendE(text, row / m.sampleRate, 5);
        text += '\t';
        appendE(text, v[row], 5);
        text += '\t';
        appendE(text, v.im(row), 5);
        text += "\r\n";
    }
    return text;
}

void CMeasure::CopyBlock(int32_t channel, int32_t from, int32_t to) {
    if (!hasSamples() || !g_clipboard || !hasChannel(channel)) return;
    g_clipboard->setText(blockText(*this, channel, from, to));
}

void CMeasure::EraseBlock(int32_t channel, int32_t from, int32_t to) {
    if (!hasSamples() || !hasChannel(channel)) return;
    RowWalk walk = clampRows(from, to, sampleCount);
    int32_t row = walk.first;
    for (int32_t i = 0; i < walk.count; ++i, row += walk.step)
        setSample(channel, row, Sample{0.0f, 0.0f});
}

void CMeasure::AddComponent(int32_t, int32_t) {}

bool CMeasure::WriteText(std::FILE* stream) {
    if (!hasSamples()) return true;
    std::string line;
    for (int32_t j = 0; j < sampleCount; ++j) {
        line.clear();
        appendE(line, j / sampleRate, 6);
        for (int32_t c = 0; c < channelCount; ++c) {
            line += '\t';
            appendE(line, value(c, j), 6);
        }
        line += "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), stream) != line.size()) return false;
    }
    return true;
}

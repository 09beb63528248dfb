#include "measure/int_channel_scale.h"

#include <cmath>

#include "measure/atomic_file.h"
#include "measure/file_io.h"
#include "measure/int_format.h"

namespace {

// Header: rate (8 bytes), channel count, layout code, sample count (4);
// then 16 coefficients of 8 bytes for layout 0, or the date and name (65
// bytes) and one record of 97 bytes per channel: the coefficient at 0, the
// constant at 57.
constexpr size_t HEAD_BYTES = 14;
constexpr size_t NAME_BYTES = 65;
constexpr size_t CONSTANT_AT = 57;

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

bool readAll(const std::string& path, std::string& bytes, std::string* error) {
    OpenError opened;
    FileHandle file = FileHandle::openRead(path.c_str(), &opened);
    if (!file.valid()) return fail(error, path + ": " + openErrorText(opened));
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const size_t got = file.read(buffer, sizeof buffer);
        bytes.append(buffer, got);
        if (got < sizeof buffer) return true;
    }
}

} // namespace

int intSampleLayout(const std::string& path) {
    FileHandle file = FileHandle::openRead(path.c_str());
    unsigned char head[HEAD_BYTES];
    if (!file.valid() || !file.readExact(head, sizeof head)) return -1;
    return head[9] <= 7 ? int(head[9]) : -1;
}

bool intLayoutIsInteger(int code) {
    return code == 0 || code == 2 || code == 3 || code == 4;
}

bool intLayoutAddsConstant(int code) {
    return code == 3 || code == 4;
}

bool intCounts(std::vector<double>& values, const ChannelInfo& info, int code, std::string* error) {
    if (!(info.coefficient != 0) || !std::isfinite(info.coefficient))
        return fail(error, "the channel's coefficient is 0: its counts cannot be recovered");
    const double offset = intLayoutAddsConstant(code) ? info.constant : 0.0;
    for (double& v : values)
        v = (v - offset) / info.coefficient;
    return true;
}

bool rawChannelValues(const CMeasure& m, int channel, const std::string& path, FileType type,
                      std::vector<double>& raw, std::string* error) {
    if (!m.hasChannel(channel) || !m.samples || m.sampleCount < 1)
        return fail(error, "the channel holds no sample");
    raw.resize(size_t(m.sampleCount));
    for (int32_t j = 0; j < m.sampleCount; ++j)
        raw[size_t(j)] = m.at(channel, j).re;
    const int code = type == FileType::Int ? intSampleLayout(path) : -1;
    return !intLayoutIsInteger(code) || intCounts(raw, m.channels[channel], code, error);
}

bool writeIntChannelScale(const std::string& path, int channel, double coefficient, double constant,
                          std::string* error) {
    std::string bytes;
    if (!readAll(path, bytes, error)) return false;
    if (bytes.size() < HEAD_BYTES) return fail(error, path + ": too short for an .INT header");
    auto* data = reinterpret_cast<unsigned char*>(&bytes[0]);
    const int channels = data[8], code = data[9];
    if (code > 7 || channels == 0) return fail(error, path + ": not an .INT file");
    if (channel < 0 || channel >= channels)
        return fail(error, path + ": has no channel " + std::to_string(channel));
    if (code == 0 || code == 2) {
        if (constant != 0)
            return fail(error, path + ": its layout " + std::to_string(code) +
                                   " applies no constant; the fit's constant is not 0");
    }
    size_t at = code == 0 ? HEAD_BYTES + 8 * size_t(channel)
                          : HEAD_BYTES + NAME_BYTES + INT_CHANNEL_RECORD_BYTES * size_t(channel);
    if (code == 0 && channel >= 16)
        return fail(error, path + ": layout 0 keeps coefficients of 16 channels only");
    if (bytes.size() < at + (code == 0 ? 8 : INT_CHANNEL_RECORD_BYTES))
        return fail(error, path + ": too short for the channel's description");
    storeDouble(data + at, coefficient);
    if (code != 0) storeDouble(data + at + CONSTANT_AT, constant);
    std::string why;
    if (!replaceFile(path, bytes, &why))
        return fail(error, path + ": could not be written: " + why);
    return true;
}

#include "measure/int_channel_scale.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "measure/file_io.h"
#include "measure/int_format.h"
#include "measure/measure_file.h"

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

// The target opened for writing in place: a regular file only (a FIFO is
// not waited on), and refused when the user may not write it.
bool openForPatch(const std::string& path, FileHandle& file, std::string* error) {
    file = FileHandle(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid())
        return fail(error, path + ": cannot be opened for writing: " + std::strerror(errno));
    struct stat st;
    if (fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode))
        return fail(error, path + ": not a regular file");
    const int flags = fcntl(file.fd(), F_GETFL);
    if (flags < 0 || fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return fail(error, path + ": cannot be opened for writing: " + std::strerror(errno));
    // Another program patching or appending under the same advisory lock waits for us.
    if (flock(file.fd(), LOCK_EX | LOCK_NB) != 0)
        return fail(error, path + ": is locked by another program");
    return true;
}

bool writeAt(const FileHandle& file, const unsigned char* bytes, size_t n, size_t offset) {
    while (n > 0) {
        const ssize_t put = ::pwrite(file.fd(), bytes, n, off_t(offset));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        offset += size_t(put);
        n -= size_t(put);
    }
    return true;
}

// Where the coefficient of `channel` lies in a file of `code`, `channels`
// and `size` bytes; false with `*error` set when the file does not hold it.
bool coefficientOffset(const std::string& path, int channels, int code, int channel, int64_t size,
                       size_t& at, std::string* error) {
    if (code > 7 || channels == 0) return fail(error, path + ": not an .INT file");
    if (channel < 0 || channel >= channels)
        return fail(error, path + ": has no channel " + std::to_string(channel));
    if (code == 0 && channel >= 16)
        return fail(error, path + ": layout 0 keeps coefficients of 16 channels only");
    at = code == 0 ? HEAD_BYTES + 8 * size_t(channel)
                   : HEAD_BYTES + NAME_BYTES + INT_CHANNEL_RECORD_BYTES * size_t(channel);
    if (size < int64_t(at + (code == 0 ? 8 : INT_CHANNEL_RECORD_BYTES)))
        return fail(error, path + ": too short for the channel's description");
    return true;
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
    if (!m.hasChannel(channel) || !m.hasSamples() || m.sampleCount < 1)
        return fail(error, "the channel holds no sample");
    raw.resize(size_t(m.sampleCount));
    for (int32_t j = 0; j < m.sampleCount; ++j)
        raw[size_t(j)] = m.value(channel, j);
    const int code = type == FileType::Int ? intSampleLayout(path) : -1;
    return !intLayoutIsInteger(code) || intCounts(raw, m.channels[channel], code, error);
}

std::string calibrationTargetRefusal(const std::string& path) {
    if (fileTypeFromPath(path) == FileType::Int) return {};
    return path + ": only an .INT file keeps a coefficient and constant for its values; open this "
                  "one, calibrate the channel and save it instead";
}

bool writeIntChannelScale(const std::string& path, int channel, double coefficient, double constant,
                          std::string* error) {
    if (!std::isfinite(coefficient) || !std::isfinite(constant))
        return fail(error, path + ": the coefficient and constant must be finite numbers");
    FileHandle file;
    if (!openForPatch(path, file, error)) return false;
    unsigned char head[HEAD_BYTES];
    if (file.readAt(head, sizeof head, 0) != sizeof head)
        return fail(error, path + ": too short for an .INT header");
    const int channels = head[8], code = head[9];
    struct stat st;
    if (fstat(file.fd(), &st) != 0) return fail(error, path + ": " + std::strerror(errno));
    size_t at = 0;
    if (!coefficientOffset(path, channels, code, channel, int64_t(st.st_size), at, error))
        return false;
    if ((code == 0 || code == 2) && constant != 0)
        return fail(error, path + ": its layout " + std::to_string(code) +
                               " applies no constant; the fit's constant is not 0");
    // Only the two fields change: links, permissions and bytes appended by
    // another program meanwhile stay as they are.
    unsigned char field[8];
    storeDouble(field, coefficient);
    bool written = writeAt(file, field, sizeof field, at);
    storeDouble(field, constant);
    if (written && code != 0) written = writeAt(file, field, sizeof field, at + CONSTANT_AT);
    if (!written || fsync(file.fd()) != 0 || !file.close())
        return fail(error, path + ": could not be written: " + std::strerror(errno));
    return true;
}

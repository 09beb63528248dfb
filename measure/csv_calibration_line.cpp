#include "measure/csv_calibration_line.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "measure/channel_calibration.h"

namespace {

// Consumes `word` at `p`; false when the text there differs.
bool take(const char*& p, const char* end, const char* word) {
    const size_t n = std::strlen(word);
    if (size_t(end - p) < n || std::memcmp(p, word, n) != 0) return false;
    p += n;
    return true;
}

bool takeNumber(const char*& p, const char* end, double& value) {
    const auto result = std::from_chars(p, end, value);
    if (result.ec != std::errc() || !std::isfinite(value)) return false;
    p = result.ptr;
    return true;
}

} // namespace

std::string csvCalibrationComment(int channel, const ChannelInfo& info) {
    return "# calibrated: channel " + std::to_string(channel) + ": " + calibrationText(info);
}

bool readCsvCalibration(const std::string& text, CsvCalibration& out, std::string* error) {
    const char* p = text.data();
    const char* end = p + text.size();
    CsvCalibration c;
    char sign = 0;
    bool ok = take(p, end, "channel ");
    if (ok) {
        const auto index = std::from_chars(p, end, c.channel);
        ok = index.ec == std::errc() && c.channel >= 0 && c.channel < MAX_CHANNELS;
        p = index.ptr;
    }
    ok = ok && take(p, end, ": value = ") && takeNumber(p, end, c.coefficient) &&
         c.coefficient != 0 && take(p, end, " * raw ") && p < end &&
         ((sign = *p++) == '+' || sign == '-') && take(p, end, " ") &&
         takeNumber(p, end, c.constant) && p == end;
    if (!ok) {
        if (error) *error = "not \"channel N: value = C * raw + K\"";
        return false;
    }
    if (sign == '-') c.constant = -c.constant;
    out = c;
    return true;
}

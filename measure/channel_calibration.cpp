#include "measure/channel_calibration.h"

#include <charconv>
#include <cmath>

#include "measure/int_channel_scale.h"
#include "measure/measure_file.h"

namespace {

std::string numberText(double value) {
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace

bool channelIsScaled(const ChannelInfo& info) {
    return info.coefficient != 1.0 || info.constant != 0.0;
}

std::string calibrationText(const ChannelInfo& info) {
    return "value = " + numberText(info.coefficient) + " * raw " +
           (std::signbit(info.constant) ? "- " : "+ ") + numberText(std::fabs(info.constant));
}

const char* calibrationRefusal(const CMeasure& m, int channel, double coefficient,
                               double constant) {
    if (!m.hasChannel(channel)) return "the measurement has no such channel";
    if (!std::isfinite(coefficient) || !std::isfinite(constant))
        return "the coefficient and constant must be finite numbers";
    if (coefficient == 0) return "a coefficient of 0 would erase the channel's values";
    const double present = m.channels[channel].coefficient;
    if (!(present != 0) || !std::isfinite(present))
        return "the channel's coefficient is 0: its raw values cannot be recovered";
    return nullptr;
}

int measureIntLayout(const CMeasure& m) {
    return fileTypeFromPath(m.path) == FileType::Int ? intSampleLayout(m.path) : -1;
}

bool applyChannelCalibration(CMeasure& m, int channel, double coefficient, double constant,
                             int layout, std::string* error) {
    if (const char* why = calibrationRefusal(m, channel, coefficient, constant)) {
        if (error) *error = why;
        return false;
    }
    ChannelInfo& info = m.channels[channel];
    // Integer .INT layouts 0 and 2 read without the constant; every other
    // source holds coefficient * raw + constant (1 and 0 unless calibrated).
    const bool addsConstant = layout < 0 || layout > 4 || intLayoutAddsConstant(layout);
    const double oldOffset = addsConstant ? info.constant : 0.0;
    const double gain = coefficient / info.coefficient;
    const bool complex = m.sampleFormat == SAMPLE_FORMAT_COMPLEX;
    const ChannelSpan v = m.span(channel);
    for (int64_t j = 0; v && j < m.sampleCount; ++j) {
        v[j] = float((double(v[j]) - oldOffset) * gain + constant);
        if (complex && v.complex) v.re[j * v.stride + 1] = float(double(v.im(j)) * gain);
    }
    info.coefficient = coefficient;
    info.constant = constant;
    return true;
}

#include "measure/same_description.h"

#include <algorithm>
#include <cstring>

namespace {

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <size_t N> bool sameText(const char (&a)[N], const char (&b)[N]) {
    return std::strncmp(a, b, N) == 0;
}

bool sameChannel(const ChannelInfo& a, const ChannelInfo& b) {
    return sameBits(a.coefficient, b.coefficient) && sameBits(a.constant, b.constant) &&
           sameText(a.unit, b.unit) && sameText(a.name, b.name);
}

bool sameComponent(const SignalComponent& a, const SignalComponent& b) {
    return sameText(a.name, b.name) && sameBits(a.frequency, b.frequency) && sameBits(a.a, b.a) &&
           sameBits(a.d, b.d) && sameBits(a.eta, b.eta) && sameBits(a.amplitude, b.amplitude) &&
           sameBits(a.k, b.k);
}

bool sameParameters(const SignalParameters& a, const SignalParameters& b) {
    if (a.componentCount != b.componentCount || !sameBits(a.level, b.level)) return false;
    const int n = std::clamp(a.componentCount, 0, MAX_COMPONENTS);
    for (int k = 0; k < n; ++k)
        if (!sameComponent(a.components[k], b.components[k])) return false;
    return true;
}

} // namespace

bool sameDescription(const CHeader& a, const CHeader& b) {
    if (!sameText(a.name, b.name) || a.date != b.date || !sameBits(a.sampleRate, b.sampleRate) ||
        a.channelCount != b.channelCount || a.sampleCount != b.sampleCount ||
        a.sampleFormat != b.sampleFormat)
        return false;
    const int n = std::clamp(a.channelCount, 0, MAX_CHANNELS);
    for (int c = 0; c < n; ++c)
        if (!sameChannel(a.channels[c], b.channels[c]) ||
            !sameParameters(a.signalParameters[c], b.signalParameters[c]))
            return false;
    return true;
}

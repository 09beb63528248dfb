#include "batch/channel_selection.h"

#include <algorithm>
#include <charconv>

bool parseChannelList(const std::string& text, std::vector<int32_t>& channels) {
    std::vector<int32_t> read;
    const char* p = text.data();
    const char* end = p + text.size();
    while (true) {
        int32_t channel = 0;
        auto res = std::from_chars(p, end, channel);
        if (res.ec != std::errc() || res.ptr == p) return false;
        read.push_back(channel);
        p = res.ptr;
        if (p == end) break;
        if (*p != ',') return false;
        ++p;
    }
    channels = read;
    return true;
}

bool selectChannels(const CMeasure& from, const std::vector<int32_t>& channels, CMeasure& to,
                    std::string& why) {
    for (int32_t c : channels) {
        if (!from.hasChannel(c)) {
            why = "channel " + std::to_string(c) + " does not exist (the measurement has " +
                  std::to_string(from.channelCount) + ")";
            return false;
        }
    }
    const int32_t count = int32_t(channels.size());
    if (count == 0 || count > MAX_CHANNELS) {
        why = "choose 1 to " + std::to_string(MAX_CHANNELS) + " channels";
        return false;
    }
    static_cast<CHeader&>(to) = from;
    if (!to.allocateSamples(from.sampleCount, count, from.sampleFormat, &why)) return false;
    for (int32_t k = 0; k < count; ++k) {
        to.channels[k] = from.channels[channels[k]];
        to.signalParameters[k] = from.signalParameters[channels[k]];
    }
    // A channel's run at a time: a real record's columns are copied whole.
    for (int32_t k = 0; k < count; ++k) {
        const ChannelValues in = from.values(channels[k]);
        const ChannelSpan out = to.span(k);
        if (in.stride == 1 && out.stride == 1) {
            std::copy(in.re, in.re + from.sampleCount, out.re);
            continue;
        }
        for (int32_t row = 0; row < from.sampleCount; ++row)
            to.setSample(k, row, Sample{in[row], in.im(row)});
    }
    return true;
}

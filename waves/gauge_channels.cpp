#include "waves/gauge_channels.h"

#include <algorithm>

std::string repeatedChannelRefusal(const std::vector<int32_t>& channels) {
    for (auto c = channels.begin(); c != channels.end(); ++c)
        if (std::find(c + 1, channels.end(), *c) != channels.end())
            return "channel " + std::to_string(*c) + " is named twice";
    return {};
}

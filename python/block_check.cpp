#include "python/block_check.h"

#include <pybind11/pybind11.h>

#include <string>

namespace py = pybind11;

BlockRange checkedBlock(const CMeasure& m, int channel, int from, int to) {
    if (!m.hasChannel(channel)) {
        throw py::value_error("channel " + std::to_string(channel) +
                              " does not exist (the measurement has " +
                              std::to_string(m.channelCount) + ")");
    }
    auto inside = [&](int v) { return v >= 0 && v <= m.sampleCount; };
    if (!inside(from) || !inside(to)) {
        throw py::value_error("range " + std::to_string(from) + ".." + std::to_string(to) +
                              " is outside 0.." + std::to_string(m.sampleCount));
    }
    return BlockRange{channel, from, to};
}

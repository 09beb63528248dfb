#include "python/block_check.h"

#include <pybind11/pybind11.h>

#include <string>

#include "measure/finite_block.h"

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

void checkFinite(const CMeasure& m, const std::vector<int32_t>& channels, int from, int to,
                 bool imaginary) {
    std::string why = nonFiniteRefusal(m, channels, from, to, imaginary);
    if (!why.empty()) throw py::value_error(why);
}

void checkFinite(const CMeasure& m, const BlockRange& range, bool imaginary) {
    checkFinite(m, {range.channel}, range.from, range.to, imaginary);
}

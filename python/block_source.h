// Where an analysis called from Python reads its block: a Measurement, or a
// plain array with its rate. An array is not copied whole into a measurement
// first: only the rows an analysis reads are converted, once, and checked
// finite on the way.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <memory>
#include <optional>
#include <vector>

#include "measure/measure.h"
#include "waves/block_values.h"

namespace py = pybind11;

class BlockSource {
  public:
    // `data` is a Measurement (its own rate) or an array of N rows with
    // its rate, refused as Measurement(data, rate) refuses it.
    BlockSource(const py::object& data, const std::optional<double>& rate);

    // The measurement; for an array, one with its channels, rows and rate
    // but no samples, for the checks of a block and its channel's unit.
    CMeasure& measure() const { return *measure_; }
    // `stop` of a call, or the number of rows when it is None.
    int stop(const std::optional<int>& given) const;

    // The rows from..to of each of `channels` (each checked as
    // checkedBlock does), refused as checkFinite refuses them.
    std::vector<BlockValues> blocks(const std::vector<int>& channels, int from, int to) const;
    BlockValues block(int channel, int from, int to) const;

    // A measurement of its own that gives its memory to the next one made
    // (see ownBlock) when it goes.
    struct KeepMemory {
        void operator()(CMeasure* m) const;
    };
    using OwnBlock = std::unique_ptr<CMeasure, KeepMemory>;

    // For an array: the rows from..to of `channel` as a measurement of their
    // own (the channel checked by the caller), refused as checkFinite refuses
    // them, imaginary parts too when `imaginary`. Null for a Measurement,
    // whose own block is read in place. Called with the GIL held, and
    // released with it held.
    OwnBlock ownBlock(int channel, int from, int to, bool imaginary) const;

  private:
    // Row `row` of `channel` of the array.
    const float* at(int channel, int32_t row) const;
    // put(i, re, im) for rows lo + i, i = 0 .. n - 1, of `channel` (im 0 for
    // a real array); false when one of the values is not finite (imaginary
    // parts only when asked).
    template <typename Put>
    bool convertRows(int channel, int32_t lo, int32_t n, bool imaginary, Put put) const;

    std::unique_ptr<CMeasure> shape_; // an array's
    CMeasure* measure_ = nullptr;
    py::array values_;            // float32 or complex64 in C order
    const float* base_ = nullptr; // its first value, read by the converting threads
    int32_t rowFloats_ = 0, valueFloats_ = 1;
};

// Rows of interleaved channels (as HDF5 and most files store a record)
// spread into the measurement's columns, and gathered back from them.
#pragma once

#include <cstdint>

// `count` rows of `channels` values each, row after row, into columns that
// start `stride` values apart: channel c's values go to columns + c * stride.
void scatterRows(const float* rows, int64_t count, int channels, float* columns, int64_t stride);

// The reverse: `count` rows gathered from the columns into `rows`.
void gatherRows(const float* columns, int64_t stride, int64_t count, int channels, float* rows);

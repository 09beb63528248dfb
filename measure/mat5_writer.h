// Writes a measurement as an uncompressed version 5 MATLAB file, element by
// element through the caller's AtomicFile, so that every write is checked
// (libmatio's writer ignores a full disk) and the samples are converted a
// piece at a time instead of in a second copy of the record.
#pragma once

#include "measure/atomic_file.h"
#include "measure/measure.h"

// The variables: `data` (samples x channels, double), `fs`, `names` and
// `units` (1 x channels cell arrays of UTF-8 text), `name`, when the
// measurement has one, `date`, and when a channel's values are calibrated,
// `calibration` (1 x channels cell, "value = C * raw + K" or ""). False when a write failed (errno
// tells why).
bool writeMat5(const CMeasure& m, AtomicFile& out);

// Bytes of the largest matrix a version 5 file holds: its sizes are 32-bit
// and MATLAB reads no variable of 2 GiB or more.
constexpr int64_t MAT5_MAX_MATRIX_BYTES = (int64_t(1) << 31) - 4096;

// ".M11" files, the control files of the flume's wave synthesiser: records of
// 122 bytes carrying one signal, the wave-maker flap displacement.
#pragma once

#include <string>

#include "measure/measure.h"

constexpr int M11_RECORD_BYTES = 122;
constexpr int M11_VALUES_PER_RECORD = 15;
constexpr int M11_HEADER_RECORDS = 7;

// Check codes of readM11 beyond the record checks 1..19.
constexpr int M11_BAD_DATA_RECORD = 20;  // a data record is missing or not of type 7
constexpr int M11_BAD_SAMPLE_COUNT = 21; // negative, not finite, or too large for one block
constexpr int M11_CANNOT_OPEN = 22;
constexpr int M11_NO_MEMORY = 23;
constexpr int M11_BAD_TIME_STEP = 24; // not positive, not finite, or no finite rate
constexpr int M11_NOT_A_FILE = 25;    // a directory, a FIFO or a device

// Fills a freshly constructed measurement with channel 0 the flap displacement
// and channel 1 its velocity. Returns 0, or the code of the first check that
// failed. A failure before the samples leaves the measurement without channels;
// a failure among the data records keeps the rows read so far, fully described.
// `path` is set in every case. `*declared`, where given, gets the sample
// count record 1 declares (0 when the header was not read).
int readM11(CMeasure& m, const char* path, int32_t* declared = nullptr);

// The header records and the channel descriptions only, no samples; the
// sample count is the declared one as far as the file's size can hold it.
// Returns 0 or the code of the first header check that failed.
int readM11Header(CMeasure& m, const char* path, int32_t* declared = nullptr);

// Rows of two channels whose block still fits in INT32_MAX bytes: the reader
// refuses a sample count above it (M11_BAD_SAMPLE_COUNT).
constexpr int32_t M11_MAX_SAMPLES = INT32_MAX / (2 * int32_t(sizeof(Sample)));

// Why an .M11 file cannot carry `m` so that readM11 reads it back, or null
// when it can.
const char* m11FormatRefusal(const CMeasure& m);

// Writes channel 0 (real parts, centimetres converted to metres) with the
// header records the synthesiser expects and sets `path`. Returns whether the
// file was written whole (otherwise `*error` says why and a file that was
// there stays as it was); writes nothing for a measurement the format cannot
// carry (m11FormatRefusal).
bool writeM11(CMeasure& m, const char* path, std::string* error = nullptr);

// A short English phrase naming the check behind a readM11 code.
const char* m11CheckText(int code);

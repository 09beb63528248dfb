// Measurements in HDF5 files. Ondarix's own layout: attributes name, date
// (ISO 8601) and sample_rate on the root group; the dataset /samples (float32,
// samples x channels, chunked in blocks of whole rows) with the attributes
// channel_names, units, coefficients and constants. Any other 1-D or 2-D
// numeric dataset another program wrote is read when named.
#pragma once

#include <string>

#include "measure/measure.h"
#include "measure/read_report.h"

// Fills a freshly constructed measurement from /samples, or from the dataset
// `options.dataset` names. Our layout reads samples x channels; another
// dataset's time runs along its longer dimension. Names, units, coefficients
// and constants come from the dataset's attributes ("Channel n", "?", 1 and 0
// without them); the rate from a sample_rate (or fs) attribute of the dataset
// or the root, otherwise `options.rate`. Returns false with `*error` saying
// why; `report` says when the rate or the dataset's name is what is missing.
bool readHdf5(CMeasure& m, const char* path, std::string* error = nullptr,
              const ReadOptions& options = {}, ReadReport* report = nullptr);

// Channels, rate and rows as readHdf5 gives them, without the samples.
bool readHdf5Header(CMeasure& m, const char* path, std::string* error = nullptr,
                    const ReadOptions& options = {}, ReadReport* report = nullptr);

// Why an HDF5 file cannot carry `m` so that readHdf5 reads it back, or null.
const char* hdf5FormatRefusal(const CMeasure& m);

// Writes `m` in our layout. The file is built in memory and goes through
// AtomicFile, so a file that was there stays as it was when the write fails.
bool writeHdf5(CMeasure& m, const char* path, std::string* error = nullptr);

// Reading a user's spectrum table: text with the frequency (Hz) and the
// density (unit^2/Hz) first on every line, as ondarix-batch spectrum -o
// writes its .TXT and as a spreadsheet writes a .CSV.
#pragma once

#include <cstddef>
#include <string>

#include "sea/target_spectrum.h"

// A table of tens of thousands of rows is well under a megabyte; a larger
// file is no spectrum table (or is /dev/zero behind a link).
constexpr size_t SPECTRUM_TABLE_MAX_BYTES = size_t(16) << 20;

// Cells are separated by tabs, commas, semicolons or blanks; further cells
// are ignored. Blank lines, '#' comments and one header line before the
// first row are skipped. Only a regular file of at most
// SPECTRUM_TABLE_MAX_BYTES is read (a FIFO or a device is refused without
// waiting on it). False with `*error` starting "cannot " when the file
// cannot be read, otherwise naming the line that is not two numbers, or the
// fault checkSpectrumTable finds.
bool readSpectrumTable(const std::string& path, SpectrumTable& out, std::string* error);

// The same from text held in memory.
bool parseSpectrumTable(const std::string& text, SpectrumTable& out, std::string* error);

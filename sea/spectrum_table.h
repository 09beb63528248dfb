// Reading a user's spectrum table: text with the frequency (Hz) and the
// density (unit^2/Hz) first on every line, as ondarix-batch spectrum -o
// writes its .TXT and as a spreadsheet writes a .CSV.
#pragma once

#include <string>

#include "sea/target_spectrum.h"

// Cells are separated by tabs, commas, semicolons or blanks; further cells
// are ignored. Blank lines, '#' comments and one header line before the
// first row are skipped. False with `*error` naming the line that is not two
// numbers, or the fault checkSpectrumTable finds.
bool readSpectrumTable(const std::string& path, SpectrumTable& out, std::string* error);

// The same from text held in memory.
bool parseSpectrumTable(const std::string& text, SpectrumTable& out, std::string* error);

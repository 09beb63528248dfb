// A channel's coefficient and constant in an .INT file: the header fields
// its reader applies to integer samples (value = coefficient * count +
// constant), read back to the counts and written in place.
#pragma once

#include <string>
#include <vector>

#include "measure/file_type_table.h"
#include "measure/measure.h"

// The sample layout code (0..7) of an .INT file, or -1 when the file cannot
// be read that far.
int intSampleLayout(const std::string& path);
// Layouts 0, 2, 3 and 4 hold 16-bit counts that the reader scales.
bool intLayoutIsInteger(int code);
// Of these only 3 and 4 add the constant (0 stores none, 2 ignores it).
bool intLayoutAddsConstant(int code);

// Turns the values of a channel read from layout `code` back into its
// counts: (value - constant) / coefficient. False with `*error` set when
// the coefficient is 0.
bool intCounts(std::vector<double>& values, const ChannelInfo& info, int code, std::string* error);

// The raw values of a calibration: those of `channel` of `m`, which was
// read from `path` as `type`; for an .INT file of integer samples its
// counts (intCounts), otherwise the values as stored. False with `*error`
// set when the channel holds no sample or its counts cannot be recovered.
bool rawChannelValues(const CMeasure& m, int channel, const std::string& path, FileType type,
                      std::vector<double>& raw, std::string* error);

// Why the file at `path` cannot take a calibration in place, or empty: only
// an .INT file keeps a coefficient that its reader applies to stored counts;
// the values of any other type would have to be rewritten.
std::string calibrationTargetRefusal(const std::string& path);

// Writes `coefficient` and `constant` into the description of `channel` of
// the .INT file at `path` in place: only those 16 bytes are written, under
// an advisory lock (flock) and synced, so hard links, permissions and bytes
// appended meanwhile stay. False with `*error` set, the file untouched, when
// it is not a regular file the user may write, is locked by another program,
// is no .INT file, has no such channel, is of layout 0 (which stores no
// constant) or 2 (whose reader ignores it) and the constant is not 0, or a
// value is not finite.
bool writeIntChannelScale(const std::string& path, int channel, double coefficient, double constant,
                          std::string* error);

// One correction round from measurements as they are read: the record the
// drive made and, where the user kept it, the drive itself. What the command
// line and Python share.
#pragma once

#include <string>
#include <vector>

#include "measure/measure.h"
#include "sea/sea_correction.h"

// Metres per unit of a channel: 0.01 for "cm", 0.001 for "mm", 1 for any
// other unit (a gauge's record is taken as metres).
double metresPerUnit(const char* unit);

// Channel 0 of a drive measurement in metres. False with `*error` set for a
// drive without samples or rate, or whose length or rate is not that of
// `p` (both named), whose components would fall on other frequencies.
bool driveDisplacement(const CMeasure& drive, const SeaParameters& p,
                       std::vector<double>& displacement, std::string* error);

// Corrects the drive that made `block` of `measured`: `previous` when given,
// otherwise the drive `p` synthesises. The check of `p`
// (validateSeaParameters) is made here again. False with `*error` set when
// the parameters, the previous drive, the block or the new drive's limits
// fail.
bool correctionRound(const SeaParameters& p, const CMeasure* previous, const CMeasure& measured,
                     const BlockRange& block, int32_t smooth, SeaDrive& out, std::string* error);

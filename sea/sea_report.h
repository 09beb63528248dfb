// What a sea synthesis or correction round tells its user: the target, the
// drive's extremes, and for a correction the measured sea before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sea/sea_parameters.h"

struct SeaReport {
    bool regular = false;
    double hm0 = 0;            // m: the target's (a regular sea: H sqrt 2, its 4 sqrt m0)
    double tp = 0;             // s: 1 / the generated frequency of the largest density (regular: T)
    double fmin = 0, fmax = 0; // Hz: the lowest and highest generated frequency
    int64_t components = 0;
    int64_t samples = 0;
    double dt = 0;       // s
    double duration = 0; // s: samples * dt, the period after which the sea repeats
    double ramp = 0;     // s at each end
    uint64_t seed = 0;
    SeaMethod method = SeaMethod::Phase;
    PaddleType paddle = PaddleType::Piston;
    double largestStroke = 0;       // m: max - min of the displacement
    double largestDisplacement = 0; // m: max |displacement|
    double largestVelocity = 0;     // m/s: max |velocity|
    // A focused group: where and how high its crests meet.
    bool focused = false;
    double focusCrest = 0, focusTime = 0, focusDistance = 0; // m, s, m
    // A solitary wave: its height in hm0 and the paddle's motion in tp.
    bool solitary = false;
    bool bichromatic = false; // hm0 from both waves, tp the first's period
    // A second-order drive: the pairs' band, which interactions, the
    // target's (bound waves included) largest crest and trough, the sea's
    // Ursell number at its peak and what its subharmonics were scaled by.
    int order = 1;
    bool subharmonics = false, superharmonics = false;
    double pairFmin = 0, pairFmax = 0;        // Hz
    double differenceFmin = 0;                // Hz, the slowest long wave made
    double targetCrest = 0, targetTrough = 0; // m, both >= 0
    double ursell = 0;
    double subharmonicFactor = 1;

    // A correction round: the measured block against the target.
    bool corrected = false;
    double measuredHm0 = 0;          // m
    double measuredTp = 0;           // s
    double bandError = 0;            // the largest |measured / target - 1| of the band energies
    double bandErrorRms = 0;         // their root mean square
    double gainMin = 0, gainMax = 0; // the factors the drive's amplitudes got
    // The rows of the record measured, and the whole repeat periods they hold
    // (0: too few rows for one; measured from their Welch spectrum instead).
    int64_t measuredFirst = 0, measuredLast = 0;
    int32_t measuredPeriods = 0;
    std::string warning; // what limits the correction, for its user to see
};

// One reported value: its key (JSON and Python), a label and unit for people.
struct SeaReportField {
    std::string key;
    double value;
    const char* label;
    const char* unit;
    bool whole = false; // a count or row: an integer in JSON and Python
};

// The numbers of the report in a fixed order (the correction's only after
// a correction round).
std::vector<SeaReportField> seaReportFields(const SeaReport& report);
// The words: "spectrum", "paddle", "method", and "warning" when there is one.
std::vector<std::pair<std::string, std::string>> seaReportWords(const SeaReport& report,
                                                                const SeaParameters& p);

// "label<TAB>value unit" lines, numbers as "%.6g".
std::vector<std::string> seaReportLines(const SeaReport& report, const SeaParameters& p);

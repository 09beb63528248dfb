// Wave-by-wave analysis of a surface elevation record: waves cut at zero
// crossings about the block mean (or its straight line, or zero), with the
// height and period statistics of the IAHR list of sea state parameters
// (IAHR/PIANC 1986).
#pragma once

#include <string>
#include <vector>

#include "waves/block_values.h"
#include "waves/detrend.h"
#include "waves/height_distribution.h"

struct WaveOptions {
    bool upCrossing = false;         // zero-down-crossings by default
    double threshold = 0;            // noise band H: a crossing counts once the signal leaves ±H/2
    Detrend detrend = Detrend::Mean; // what the crossings are taken about
    // The foreshore of the composite Weibull prediction: depth in the
    // heights' unit and slope tan(alpha); both 0 for none.
    double depth = 0, slope = 0;
};

struct Wave {
    double start;  // seconds, of the crossing that opens the wave
    double period; // seconds between its two crossings
    double height; // crest - trough
    double crest;  // highest elevation above the mean inside the wave
    double trough; // lowest elevation inside the wave (negative below the mean)
};

// Heights in the channel's unit, periods in seconds. A value that the wave
// count does not allow (H1/3 with fewer than three waves) is NaN.
struct WaveStatistics {
    int32_t count = 0;
    double mean = 0; // the block mean (removed unless Detrend::None)
    double hMax = 0, tHMax = 0;
    double h13 = 0, t13 = 0;   // mean of the highest floor(N/3) waves
    double h110 = 0, t110 = 0; // mean of the highest floor(N/10) waves
    double hMean = 0, hRms = 0;
    double tz = 0, tMax = 0;
    HeightDistribution heights; // H2 %, H1 %, Hmax/Hm0 and the exceedance
    std::vector<Wave> waves;
};

// False with `*error` set when the options are bad, the sample rate is not
// positive or the block holds no complete wave.
bool analyseWaves(const BlockValues& block, const WaveOptions& options, WaveStatistics& result,
                  std::string* error);

// The statistics as lines "label<TAB>value" a user can copy.
std::vector<std::string> waveParameterLines(const WaveStatistics& s, const char* unit);
// The wave list: a header line and one line per wave, tab separated.
std::vector<std::string> waveListLines(const WaveStatistics& s);

#include "waves/wave_by_wave.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "waves/parameter_text.h"

namespace {

// Crossing positions in samples (fractional). Down-crossings of `sign`·y:
// a crossing is the last fall through zero before the signal goes below
// -H/2, and it counts only when the signal has been above +H/2 since the
// last one, so that noise around zero does not split a wave.
std::vector<double> crossings(const std::vector<double>& y, double sign, double halfBand) {
    std::vector<double> found;
    bool wasHigh = false;
    bool pending = false;
    double pendingAt = 0;
    for (size_t i = 0; i < y.size(); ++i) {
        double v = sign * y[i];
        if (i > 0) {
            double u = sign * y[i - 1];
            // Linear interpolation between the two samples around the fall.
            if (u > 0 && v <= 0) {
                pending = true;
                pendingAt = double(i - 1) + u / (u - v);
            }
        }
        if (v > halfBand) {
            wasHigh = true;
            pending = false;
        } else if (v < -halfBand && pending) {
            if (wasHigh) found.push_back(pendingAt);
            wasHigh = false;
            pending = false;
        }
    }
    return found;
}

Wave measureWave(const std::vector<double>& y, double a, double b, double rate) {
    size_t first = size_t(std::ceil(a));
    size_t last = std::min(size_t(std::floor(b)), y.size() - 1);
    double crest = y[first], trough = y[first];
    for (size_t i = first; i <= last; ++i) {
        crest = std::max(crest, y[i]);
        trough = std::min(trough, y[i]);
    }
    return Wave{a / rate, (b - a) / rate, crest - trough, crest, trough};
}

// Mean height and period of the highest `n` waves of `byHeight` (sorted
// highest first); NaN when n is 0.
void highestMean(const std::vector<Wave>& byHeight, size_t n, double& h, double& t) {
    h = t = NAN;
    if (n == 0) return;
    double sumH = 0, sumT = 0;
    for (size_t i = 0; i < n; ++i) {
        sumH += byHeight[i].height;
        sumT += byHeight[i].period;
    }
    h = sumH / double(n);
    t = sumT / double(n);
}

void summarise(WaveStatistics& s) {
    const auto& w = s.waves;
    s.count = int32_t(w.size());
    std::vector<Wave> byHeight = w;
    std::stable_sort(byHeight.begin(), byHeight.end(),
                     [](const Wave& a, const Wave& b) { return a.height > b.height; });
    s.hMax = byHeight.front().height;
    s.tHMax = byHeight.front().period;
    highestMean(byHeight, w.size() / 3, s.h13, s.t13);
    highestMean(byHeight, w.size() / 10, s.h110, s.t110);
    double sumH = 0, sumH2 = 0, sumT = 0;
    s.tMax = 0;
    for (const Wave& x : w) {
        sumH += x.height;
        sumH2 += x.height * x.height;
        sumT += x.period;
        s.tMax = std::max(s.tMax, x.period);
    }
    s.hMean = sumH / double(w.size());
    s.hRms = std::sqrt(sumH2 / double(w.size()));
    s.tz = sumT / double(w.size());
}

} // namespace

bool analyseWaves(const BlockValues& block, const WaveOptions& options, WaveStatistics& result,
                  std::string* error) {
    auto fail = [&](const char* why) {
        if (error) *error = why;
        return false;
    };
    if (!(block.sampleRate > 0) || !std::isfinite(block.sampleRate))
        return fail("the sample rate is not positive");
    if (!(options.threshold >= 0) || !std::isfinite(options.threshold))
        return fail("the threshold must be a number >= 0");
    const auto& x = block.values;
    if (x.empty()) return fail("the block is empty");
    WaveStatistics s;
    s.mean = std::accumulate(x.begin(), x.end(), 0.0) / double(x.size());
    std::vector<double> y = x;
    detrendValues(y, options.detrend);
    std::vector<double> at = crossings(y, options.upCrossing ? -1.0 : 1.0, options.threshold / 2);
    for (size_t i = 1; i < at.size(); ++i) {
        Wave w = measureWave(y, at[i - 1], at[i], block.sampleRate);
        w.start += block.startTime;
        s.waves.push_back(w);
    }
    if (s.waves.empty()) return fail("the block holds no complete wave");
    summarise(s);
    std::vector<double> heights;
    for (const Wave& w : s.waves)
        heights.push_back(w.height);
    std::string why;
    if (!heightDistribution(heights, detrendedPower(y), options.depth, options.slope, s.heights,
                            &why))
        return fail(why.c_str());
    result = std::move(s);
    return true;
}

std::vector<std::string> waveParameterLines(const WaveStatistics& s, const char* unit) {
    std::string u = std::string(" (") + unit + ")";
    std::vector<std::string> lines{
        parameterLine("Waves", double(s.count)), parameterLine("Mean level" + u, s.mean),
        parameterLine("Hmax" + u, s.hMax),       parameterLine("T(Hmax) (s)", s.tHMax),
        parameterLine("H1/3" + u, s.h13),        parameterLine("T1/3 (s)", s.t13),
        parameterLine("H1/10" + u, s.h110),      parameterLine("T1/10 (s)", s.t110),
        parameterLine("Hmean" + u, s.hMean),     parameterLine("Hrms" + u, s.hRms),
        parameterLine("Tz (s)", s.tz),           parameterLine("Tmax (s)", s.tMax),
    };
    for (const std::string& line : heightDistributionLines(s.heights, unit))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> waveListLines(const WaveStatistics& s) {
    std::vector<std::string> lines{"index\tstart (s)\tperiod (s)\theight\tcrest\ttrough"};
    for (size_t i = 0; i < s.waves.size(); ++i) {
        const Wave& w = s.waves[i];
        lines.push_back(std::to_string(i + 1) + "\t" + parameterNumber(w.start) + "\t" +
                        parameterNumber(w.period) + "\t" + parameterNumber(w.height) + "\t" +
                        parameterNumber(w.crest) + "\t" + parameterNumber(w.trough));
    }
    return lines;
}

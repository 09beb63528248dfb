#include "waves/wave_result.h"

#include <cstring>

#include "measure/finite_block.h"
#include "waves/exceedance_measure.h"
#include "waves/gauge_channels.h"
#include "waves/noise_warning.h"
#include "waves/reflection.h"
#include "waves/reflection_series.h"
#include "waves/regular_reflection.h"
#include "waves/spectrum_measure.h"
#include "waves/spectrum_report.h"
#include "waves/wave_list_measure.h"

namespace {

std::string field(const char* text, size_t capacity) {
    return std::string(text, strnlen(text, capacity));
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

ReflectionOptions reflectionOptions(const WaveRunOptions& wanted) {
    ReflectionOptions reflection;
    reflection.positions = wanted.positions;
    reflection.depth = wanted.depth;
    reflection.segment = wanted.segment;
    reflection.band = wanted.band;
    reflection.detrend = wanted.detrend;
    return reflection;
}

// The parameter lines of a regular wave's harmonics; false with `*error`
// when the record is not one.
bool regularLines(const std::vector<BlockValues>& blocks, const WaveRunOptions& wanted,
                  const std::string& unit, std::vector<std::string>& lines, std::string* error) {
    RegularReflectionOptions regular;
    regular.positions = wanted.positions;
    regular.depth = wanted.depth;
    regular.detrend = wanted.detrend;
    RegularReflectionResult result;
    if (!separateRegularReflection(blocks, regular, result, error)) return false;
    lines = regularReflectionLines(result, unit.c_str());
    return true;
}

// The series at the first gauge as a measurement; null with `*error` when
// they cannot be made.
std::unique_ptr<CMeasure> seriesMeasure(const std::vector<BlockValues>& blocks,
                                        const ReflectionOptions& options, const std::string& unit,
                                        std::string* error) {
    ReflectionSeries series;
    if (!reflectionSeries(blocks, options, options.positions[0], series, error)) return nullptr;
    auto m = std::make_unique<CMeasure>();
    if (!reflectionSeriesMeasure(series, unit.c_str(), *m)) {
        if (error) *error = "out of memory for the series";
        return nullptr;
    }
    return m;
}

} // namespace

const char* waveAnalysisName(WaveAnalysis kind) {
    switch (kind) {
    case WaveAnalysis::Statistics:
        return "Wave statistics";
    case WaveAnalysis::Spectrum:
        return "Spectrum";
    case WaveAnalysis::Reflection:
        return "Reflection";
    }
    return "";
}

bool CWaveResult::TakeBlocks(const CMeasure& source, const WaveRunOptions& wanted,
                             std::string* error) {
    if (wanted.channels.empty()) return fail(error, "no channel is given");
    for (int32_t channel : wanted.channels)
        if (!source.hasChannel(channel) || channel >= MAX_CHANNELS)
            return fail(error, "channel " + std::to_string(channel) +
                                   " does not exist (the measurement has " +
                                   std::to_string(source.channelCount) + ")");
    std::string why = repeatedChannelRefusal(wanted.channels);
    if (!why.empty()) return fail(error, why);
    std::vector<BlockValues> taken(wanted.channels.size());
    for (size_t i = 0; i < wanted.channels.size(); ++i)
        if (!blockValues(source, {wanted.channels[i], wanted.from, wanted.to}, taken[i]))
            return fail(error, "the block is empty");
    why = nonFiniteRefusal(source, wanted.channels, wanted.from, wanted.to);
    if (!why.empty()) return fail(error, why);
    blocks = std::move(taken);
    options = wanted;
    const int32_t first = wanted.channels[0];
    unit = field(source.channels[first].unit, sizeof source.channels[first].unit);
    sourcePath = field(source.path, sizeof source.path);
    return true;
}

void CWaveResult::TakeBlocksOf(const CWaveResult& other) {
    blocks = other.blocks;
    options = other.options;
    unit = other.unit;
    sourcePath = other.sourcePath;
}

bool CWaveResult::Compute(const WaveRunOptions& wanted, std::string* error) {
    if (blocks.empty()) return fail(error, "there is no block to analyse");
    std::string why;
    std::vector<std::string> lines;
    std::vector<NoiseWarning> noise;
    std::unique_ptr<CMeasure> madeSeries;
    std::string leftOut;
    bool filled = false;
    switch (kind) {
    case WaveAnalysis::Statistics: {
        WaveStatistics stats;
        if (!analyseWaves(blocks[0], wanted.waves, stats, &why)) return fail(error, why);
        lines = waveParameterLines(stats, unit.c_str());
        noise = waveNoiseWarnings(stats);
        filled = waveListMeasure(stats, unit.c_str(), *this) &&
                 exceedanceMeasure(stats.heights, exceedance);
        break;
    }
    case WaveAnalysis::Spectrum: {
        SpectrumReport report;
        if (!spectrumReport(blocks[0], wanted.segment, wanted.detrend, wanted.band, report, &why))
            return fail(error, why);
        lines = spectrumReportLines(report, unit.c_str());
        noise = report.warnings;
        filled = spectrumMeasure(report.spectrum, report.band, unit.c_str(), *this);
        break;
    }
    case WaveAnalysis::Reflection: {
        const ReflectionOptions reflection = reflectionOptions(wanted);
        ReflectionResult result;
        if (!separateReflection(blocks, reflection, result, &why)) return fail(error, why);
        lines = reflectionParameterLines(result, unit.c_str());
        if (wanted.reflectionOutput == ReflectionOutput::Regular &&
            !regularLines(blocks, wanted, unit, lines, &why))
            return fail(error, why);
        if (wanted.reflectionOutput == ReflectionOutput::Series) {
            madeSeries = seriesMeasure(blocks, reflection, unit, &why);
            if (!madeSeries) return fail(error, why);
        }
        if (!result.leftOut.empty())
            leftOut = "The gauges cannot separate " + leftOutText(result.leftOut) +
                      " Hz: left out of the spectra and Kr (other Positions move them).";
        filled = reflectionMeasure(result, unit.c_str(), *this);
        break;
    }
    }
    // Filling writes the curves in place; without memory nothing is left to show.
    if (!filled) {
        sampleCount = 0;
        parameterLines.clear();
        return fail(error, "out of memory for the result");
    }
    // The blocks stay what they were taken as.
    const std::vector<int32_t> channels = options.channels;
    const int32_t from = options.from, to = options.to;
    options = wanted;
    options.channels = channels;
    options.from = from;
    options.to = to;
    parameterLines = std::move(lines);
    warnings.clear();
    for (const NoiseWarning& w : noise)
        warnings.push_back(windowWarningText(w));
    if (!leftOut.empty()) warnings.push_back(leftOut);
    series = std::move(madeSeries);
    return true;
}

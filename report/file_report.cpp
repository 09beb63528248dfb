#include "report/file_report.h"

#include "measure/finite_block.h"
#include "measure/text_encoding.h"
#include "report/report_target.h"
#include "waves/block_values.h"
#include "waves/exceedance_measure.h"
#include "waves/gauge_channels.h"
#include "waves/spectrum_measure.h"

namespace {

void describe(const CMeasure& m, FileReport& out) {
    out.name = displayText(m.name);
    char buffer[64];
    out.date = m.date ? m.dateText(buffer, sizeof buffer) : "no date";
    out.sampleRate = m.sampleRate;
    out.sampleCount = m.sampleCount;
    for (int32_t c = 0; c < m.channelCount && c < MAX_CHANNELS; ++c) {
        const ChannelInfo& ch = m.channels[c];
        out.channels.push_back(
            {displayText(ch.name), displayText(ch.unit), ch.coefficient, ch.constant});
    }
}

// The gauges and the range of `options` checked against `m`; the reason when they do not fit.
std::string checkGauges(const CMeasure& m, const ReportOptions& options,
                        std::vector<int32_t>& gauges, FileReport& out) {
    gauges = options.channels;
    if (gauges.empty())
        for (int32_t c = 0; c < m.channelCount && c < MAX_CHANNELS; ++c)
            gauges.push_back(c);
    for (int32_t c : gauges)
        if (!m.hasChannel(c) || c >= MAX_CHANNELS)
            return "channel " + std::to_string(c) + " does not exist (the measurement has " +
                   std::to_string(m.channelCount) + ")";
    std::string why = repeatedChannelRefusal(gauges);
    if (!why.empty()) return why;
    out.from = options.from;
    out.to = options.to < 0 ? m.sampleCount : options.to;
    if (out.from < 0 || out.to > m.sampleCount || out.from >= out.to)
        return "range " + std::to_string(out.from) + ".." + std::to_string(out.to) +
               " is outside 0.." + std::to_string(m.sampleCount) + " or empty";
    return nonFiniteRefusal(m, gauges, out.from, out.to);
}

// The target at the spectrum's bins, its Hm0 over the same band, and its
// curve beside the spectrum's.
void compareWithTarget(const ReportOptions& options, GaugeReport& g) {
    const VarianceSpectrum& s = g.spectrum.spectrum;
    const SpectralParameters& p = g.spectrum.parameters;
    g.targetDensity = targetAtBins(options.target, s);
    g.targetHm0 = bandHm0(g.targetDensity, s.df, p.fmin, p.fmax);
    g.targetTp = peakPeriod(g.targetDensity, s.df);
    auto both = std::make_unique<CMeasure>();
    if (g.spectrumCurves && withTargetCurve(*g.spectrumCurves, g.targetDensity, *both))
        g.spectrumCurves = std::move(both);
}

void analyseGauge(const BlockValues& block, const ReportOptions& options, GaugeReport& g) {
    std::string why;
    if (options.spectrum) {
        g.hasSpectrum = spectrumReport(block, options.segment, options.spectrumDetrend,
                                       options.band, g.spectrum, &g.spectrumError);
        g.spectrumCurves = std::make_unique<CMeasure>();
        if (g.hasSpectrum && !spectrumMeasure(g.spectrum.spectrum, g.spectrum.band, g.unit.c_str(),
                                              *g.spectrumCurves))
            g.spectrumCurves.reset();
        if (g.hasSpectrum && options.hasTarget) compareWithTarget(options, g);
    }
    if (options.waves) {
        g.hasWaves = analyseWaves(block, options.waveOptions, g.waves, &g.wavesError);
        g.exceedance = std::make_unique<CMeasure>();
        if (g.hasWaves && !exceedanceMeasure(g.waves.heights, *g.exceedance)) g.exceedance.reset();
    }
}

void analyseReflection(const std::vector<BlockValues>& blocks, const ReportOptions& options,
                       FileReport& out) {
    if (blocks.size() != options.positions.size()) {
        out.reflectionError = "the gauges and --positions differ in count";
        return;
    }
    ReflectionOptions reflection;
    reflection.positions = options.positions;
    reflection.depth = options.depth;
    reflection.segment = options.segment;
    reflection.band = options.band;
    reflection.detrend = options.spectrumDetrend;
    out.hasReflection =
        separateReflection(blocks, reflection, out.reflection, &out.reflectionError);
    out.reflectionCurves = std::make_unique<CMeasure>();
    if (out.hasReflection &&
        !reflectionMeasure(out.reflection, out.reflectionUnit.c_str(), *out.reflectionCurves))
        out.reflectionCurves.reset();
}

} // namespace

std::string FileReport::firstFailure() const {
    if (!error.empty()) return error;
    for (const GaugeReport& g : gauges) {
        if (!g.spectrumError.empty()) return g.name + ": " + g.spectrumError;
        if (!g.wavesError.empty()) return g.name + ": " + g.wavesError;
    }
    if (!reflectionError.empty()) return "reflection: " + reflectionError;
    return {};
}

FileReport unreadFile(const std::string& path, const std::string& why) {
    FileReport out;
    out.path = path;
    out.error = why.empty() ? "cannot be read" : why;
    return out;
}

FileReport analyseFile(const std::string& path, const CMeasure& record,
                       const ReportOptions& options) {
    FileReport out;
    out.path = path;
    describe(record, out);
    std::vector<int32_t> gauges;
    out.error = checkGauges(record, options, gauges, out);
    if (!out.error.empty()) return out;
    std::vector<BlockValues> blocks(gauges.size());
    for (size_t i = 0; i < gauges.size(); ++i) {
        if (!blockValues(record, {gauges[i], out.from, out.to}, blocks[i])) {
            out.error = "the block is empty";
            return out;
        }
        GaugeReport g;
        g.channel = gauges[i];
        g.name = out.channels[gauges[i]].name;
        g.unit = out.channels[gauges[i]].unit;
        analyseGauge(blocks[i], options, g);
        out.gauges.push_back(std::move(g));
    }
    if (options.reflection) {
        out.reflectionUnit = out.gauges[0].unit;
        analyseReflection(blocks, options, out);
    }
    out.record = &record;
    return out;
}

FileReport analyseFile(const std::string& path, std::unique_ptr<CMeasure> record,
                       const ReportOptions& options) {
    FileReport out = analyseFile(path, *record, options);
    out.owned = std::move(record);
    return out;
}

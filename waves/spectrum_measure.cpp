#include "waves/spectrum_measure.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// Curves of one length, bin j at j * df.
bool fillMeasure(double df, const std::vector<const std::vector<double>*>& curves,
                 const std::vector<std::string>& names, const char* unit, CMeasure& out) {
    const int32_t rows = int32_t(curves[0]->size());
    const int32_t channels = int32_t(curves.size());
    if (!(df > 0) || rows < 1) return false;
    for (const auto* curve : curves)
        if (curve->size() != size_t(rows)) return false;
    if (!out.allocateSamples(rows, channels, SAMPLE_FORMAT_REAL)) return false;
    out.sampleFormat = SAMPLE_FORMAT_REAL;
    out.sampleRate = 1.0 / df;
    out.sampleCount = rows;
    out.channelCount = channels;
    copyField(out.name, sizeof out.name, "Variance density spectrum");
    copyField(out.path, sizeof out.path, "");
    out.stampDate();
    const std::string densityUnit = std::string(unit) + "^2/Hz";
    for (int32_t c = 0; c < channels; ++c) {
        setChannelInfo(out.channels[c], 1.0, 0.0, densityUnit.c_str(), names[size_t(c)].c_str());
        resetParameters(out.signalParameters[c]);
        for (int32_t j = 0; j < rows; ++j)
            out.setSample(c, j, Sample{float((*curves[size_t(c)])[size_t(j)]), 0.0f});
    }
    return true;
}

} // namespace

bool spectrumMeasure(const VarianceSpectrum& spectrum, const char* unit, CMeasure& out) {
    return fillMeasure(spectrum.df, {&spectrum.density}, {"S(f)"}, unit, out);
}

bool spectrumMeasure(const VarianceSpectrum& spectrum, const ConfidenceBand& band, const char* unit,
                     CMeasure& out) {
    const std::string level = std::to_string(int(std::lround(band.level * 100))) + "%";
    return fillMeasure(spectrum.df, {&spectrum.density, &band.lower, &band.upper},
                       {"S(f)", "S lower " + level, "S upper " + level}, unit, out);
}

bool reflectionMeasure(const ReflectionResult& result, const char* unit, CMeasure& out) {
    return fillMeasure(result.incident.df, {&result.incident.density, &result.reflected.density},
                       {"S incident", "S reflected"}, unit, out);
}

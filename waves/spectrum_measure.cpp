#include "waves/spectrum_measure.h"

#include <string>
#include <vector>

namespace {

bool fillMeasure(const std::vector<const VarianceSpectrum*>& spectra,
                 const std::vector<const char*>& names, const char* unit, CMeasure& out) {
    const VarianceSpectrum& first = *spectra[0];
    const int32_t rows = int32_t(first.density.size());
    const int32_t channels = int32_t(spectra.size());
    if (!(first.df > 0) || rows < 1) return false;
    if (!out.resizeSamples(int64_t(rows) * channels * int64_t(sizeof(Sample)))) return false;
    out.sampleFormat = SAMPLE_FORMAT_REAL;
    out.sampleRate = 1.0 / first.df;
    out.sampleCount = rows;
    out.channelCount = channels;
    copyField(out.name, sizeof out.name, "Variance density spectrum");
    copyField(out.path, sizeof out.path, "");
    out.stampDate();
    const std::string densityUnit = std::string(unit) + "^2/Hz";
    for (int32_t c = 0; c < channels; ++c) {
        setChannelInfo(out.channels[c], 1.0, 0.0, densityUnit.c_str(), names[size_t(c)]);
        resetParameters(out.signalParameters[c]);
        for (int32_t j = 0; j < rows; ++j)
            out.at(c, j) = Sample{float(spectra[size_t(c)]->density[size_t(j)]), 0.0f};
    }
    return true;
}

} // namespace

bool spectrumMeasure(const VarianceSpectrum& spectrum, const char* unit, CMeasure& out) {
    return fillMeasure({&spectrum}, {"S(f)"}, unit, out);
}

bool reflectionMeasure(const ReflectionResult& result, const char* unit, CMeasure& out) {
    return fillMeasure({&result.incident, &result.reflected}, {"S incident", "S reflected"}, unit,
                       out);
}

#include "waves/reflection_table.h"

#include <string>

#include "waves/spectrum_measure.h"

bool reflectionTableMeasure(const ReflectionResult& result, const char* unit, CMeasure& out) {
    CMeasure spectra;
    if (!reflectionMeasure(result, unit, spectra)) return false;
    const int32_t rows = spectra.sampleCount;
    if (result.separable.size() != size_t(rows)) return false;
    if (!out.allocateSamples(rows, 3, spectra.sampleFormat)) return false;
    out.sampleFormat = spectra.sampleFormat;
    out.sampleRate = spectra.sampleRate;
    out.sampleCount = rows;
    out.channelCount = 3;
    copyField(out.name, sizeof out.name, spectra.name);
    copyField(out.path, sizeof out.path, "");
    out.stampDate();
    for (int32_t c = 0; c < 2; ++c) {
        out.channels[c] = spectra.channels[c];
        resetParameters(out.signalParameters[c]);
        for (int32_t j = 0; j < rows; ++j)
            out.setSample(c, j, spectra.sample(c, j));
    }
    setChannelInfo(out.channels[2], 1.0, 0.0, "", "separable");
    resetParameters(out.signalParameters[2]);
    for (int32_t j = 0; j < rows; ++j)
        out.setSample(2, j, Sample{result.separable[size_t(j)] ? 1.0f : 0.0f, 0.0f});
    return true;
}

#include "waves/exceedance_measure.h"

#include <algorithm>
#include <cmath>

namespace {

// log10 of a probability, kept finite where the tail underflows.
float logProbability(double p) {
    return float(std::max(-30.0, std::log10(p)));
}

} // namespace

bool exceedanceMeasure(const HeightDistribution& d, CMeasure& out) {
    const auto& points = d.points; // highest first
    if (points.empty() || !(points.front().height > 0)) return false;
    const int32_t channels = d.shallow ? 3 : 2;
    const int32_t rows = EXCEEDANCE_ROWS;
    if (!out.allocateSamples(rows, channels, SAMPLE_FORMAT_REAL)) return false;
    const double top = points.front().height;
    out.sampleFormat = SAMPLE_FORMAT_REAL;
    out.sampleRate = double(rows - 1) / top;
    out.sampleCount = rows;
    out.channelCount = channels;
    copyField(out.name, sizeof out.name, "Exceedance of the wave heights");
    copyField(out.path, sizeof out.path, "");
    out.stampDate();
    setChannelInfo(out.channels[0], 1.0, 0.0, "log10 P", "measured");
    setChannelInfo(out.channels[1], 1.0, 0.0, "log10 P", "Rayleigh");
    if (d.shallow) setChannelInfo(out.channels[2], 1.0, 0.0, "log10 P", "Weibull");
    for (int32_t c = 0; c < channels; ++c)
        resetParameters(out.signalParameters[c]);
    const double n = double(points.size());
    size_t atLeast = points.size(); // waves with H >= h, falling as h grows
    for (int32_t j = 0; j < rows; ++j) {
        const double h = j == rows - 1 ? top : double(j) / out.sampleRate;
        while (atLeast > 0 && points[atLeast - 1].height < h)
            --atLeast;
        out.setSample(0, j, Sample{logProbability(double(atLeast) / (n + 1)), 0.0f});
        out.setSample(1, j, Sample{logProbability(rayleighExceedance(h, d.hm0)), 0.0f});
        if (d.shallow) {
            const double p =
                compositeWeibullExceedance(d.predicted.normalised, h / d.predicted.hrms);
            out.setSample(2, j, Sample{logProbability(p), 0.0f});
        }
    }
    return true;
}

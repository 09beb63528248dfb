#include "waves/wave_list_measure.h"

bool waveListMeasure(const WaveStatistics& stats, const char* unit, CMeasure& out) {
    const int32_t rows = int32_t(stats.waves.size());
    if (rows < 1) return false;
    if (!out.allocateSamples(rows, 2, SAMPLE_FORMAT_REAL)) return false;
    out.sampleFormat = SAMPLE_FORMAT_REAL;
    out.sampleRate = 1.0;
    out.sampleCount = rows;
    out.channelCount = 2;
    copyField(out.name, sizeof out.name, "Wave heights and periods");
    copyField(out.path, sizeof out.path, "");
    out.stampDate();
    setChannelInfo(out.channels[0], 1.0, 0.0, unit, "H");
    setChannelInfo(out.channels[1], 1.0, 0.0, "s", "T");
    for (int32_t c = 0; c < 2; ++c)
        resetParameters(out.signalParameters[c]);
    for (int32_t j = 0; j < rows; ++j) {
        const Wave& w = stats.waves[size_t(j)];
        out.setSample(0, j, Sample{float(w.height), 0.0f});
        out.setSample(1, j, Sample{float(w.period), 0.0f});
    }
    return true;
}

#include "report/report_target.h"

#include <cmath>
#include <cstring>

#include "measure/measure_file.h"
#include "sea/spectrum_table.h"
#include "waves/block_values.h"
#include "waves/spectrum_report.h"

namespace {

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

int32_t elevationChannel(const CMeasure& m) {
    for (int32_t c = 0; c < m.channelCount && c < MAX_CHANNELS; ++c)
        if (std::strncmp(m.channels[c].name, TARGET_ELEVATION_CHANNEL, sizeof m.channels[c].name) ==
            0)
            return c;
    return -1;
}

// The Welch spectrum of the drive's target elevation, as a table.
bool driveTarget(const CMeasure& drive, const std::string& path, SpectrumTable& out,
                 std::string* error) {
    const int32_t c = elevationChannel(drive);
    if (c < 0)
        return fail(error, path + ": neither a spectrum table nor a drive saved with its " +
                               TARGET_ELEVATION_CHANNEL);
    BlockValues block;
    SpectrumReport report;
    std::string why;
    if (!blockValues(drive, {c, 0, drive.sampleCount}, block) ||
        !spectrumReport(block, 0, Detrend::Linear, {}, report, &why))
        return fail(error, path + ": " + (why.empty() ? "the target elevation is empty" : why));
    out.frequency.clear();
    out.density = report.spectrum.density;
    for (size_t j = 0; j < out.density.size(); ++j)
        out.frequency.push_back(report.spectrum.frequency(j));
    return true;
}

} // namespace

bool readReportTarget(const std::string& path, SpectrumTable& out, std::string* error) {
    // A table first: a .TXT may be either, and a table never reads as a drive.
    std::string tableWhy;
    if (readSpectrumTable(path, out, &tableWhy)) return true;
    if (tableWhy.rfind("cannot ", 0) == 0) return fail(error, path + ": " + tableWhy);
    CMeasure drive;
    std::string why;
    if (!readMeasure(drive, path, fileTypeFromPath(path), &why))
        return fail(error, path + ": neither a spectrum table (" + tableWhy + ") nor a drive");
    return driveTarget(drive, path, out, error);
}

std::vector<double> targetAtBins(const SpectrumTable& target, const VarianceSpectrum& measured) {
    std::vector<double> out(measured.density.size());
    for (size_t j = 0; j < out.size(); ++j)
        out[j] = tableDensity(target, measured.frequency(j));
    return out;
}

double bandHm0(const std::vector<double>& density, double df, double fmin, double fmax) {
    double m0 = 0;
    for (size_t j = 0; j < density.size(); ++j) {
        const double f = double(j) * df;
        if (f >= fmin && f <= fmax) m0 += density[j] * df;
    }
    return 4 * std::sqrt(m0);
}

double peakPeriod(const std::vector<double>& density, double df) {
    size_t peak = 0;
    for (size_t j = 1; j < density.size(); ++j)
        if (density[j] > density[peak]) peak = j;
    return peak > 0 && density[peak] > 0 ? 1 / (double(peak) * df) : NAN;
}

bool withTargetCurve(const CMeasure& curves, const std::vector<double>& target, CMeasure& out) {
    const int32_t rows = curves.sampleCount, channels = curves.channelCount + 1;
    if (target.size() != size_t(rows) || channels > MAX_CHANNELS) return false;
    static_cast<CHeader&>(out) = curves;
    if (!out.allocateSamples(rows, channels, curves.sampleFormat)) return false;
    const int32_t t = channels - 1;
    setChannelInfo(out.channels[t], 1.0, 0.0, curves.channels[0].unit, "S target");
    resetParameters(out.signalParameters[t]);
    for (int32_t j = 0; j < rows; ++j) {
        for (int32_t c = 0; c < t; ++c)
            out.setSample(c, j, curves.sample(c, j));
        out.setSample(t, j, Sample{float(target[size_t(j)]), 0.0f});
    }
    return true;
}

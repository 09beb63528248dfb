#include "waves/spectrum_report.h"

#include <algorithm>

#include "waves/parameter_text.h"

bool spectrumReport(const BlockValues& block, int32_t segment, Detrend detrend,
                    const SpectralBand& band, SpectrumReport& out, std::string* error) {
    SpectrumReport r;
    if (!varianceSpectrum(block, segment, detrend, r.spectrum, error) ||
        !spectralParameters(r.spectrum, band, r.parameters, error))
        return false;
    if (!confidenceBand(r.spectrum, CONFIDENCE_LEVEL, r.band)) {
        if (error) *error = "the spectrum has no degrees of freedom";
        return false;
    }
    r.warnings = spectrumNoiseWarnings(r.spectrum, r.parameters);
    out = std::move(r);
    return true;
}

std::vector<std::string> spectrumReportLines(const SpectrumReport& r, const char* unit) {
    std::vector<std::string> lines = spectralParameterLines(r.parameters, unit);
    const std::vector<std::string> peaks = peakPeriodLines(r.parameters);
    auto tp = std::find_if(lines.begin(), lines.end(),
                           [](const std::string& line) { return line.rfind("Tp (s)\t", 0) == 0; });
    lines.insert(tp == lines.end() ? tp : tp + 1, peaks.begin(), peaks.end());
    // Beside m0: what the band's bins leave out of the block's variance.
    auto m0 = std::find_if(lines.begin(), lines.end(),
                           [](const std::string& line) { return line.rfind("m0 (", 0) == 0; });
    lines.insert(m0 == lines.end() ? m0 : m0 + 1,
                 parameterLine("Variance below f1 (" + std::string(unit) + "^2)",
                               r.spectrum.varianceBelowF1));
    lines.push_back(parameterLine("Degrees of freedom", r.band.dof));
    lines.push_back(parameterLine("90% band lower / S", r.band.lowerFactor));
    lines.push_back(parameterLine("90% band upper / S", r.band.upperFactor));
    return lines;
}

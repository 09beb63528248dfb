// One measurement of a test report: its header, and per gauge the spectrum
// and the wave-by-wave statistics, with the reflection of its gauges when
// asked for; each computed by the same functions as the batch commands, so
// that the report's numbers are theirs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "measure/measure.h"
#include "report/report_options.h"
#include "waves/reflection.h"
#include "waves/spectrum_report.h"
#include "waves/wave_by_wave.h"

struct ChannelRow {
    std::string name, unit;
    double coefficient = 0, constant = 0;
};

struct GaugeReport {
    int32_t channel = 0;
    std::string name, unit;
    bool hasSpectrum = false;
    SpectrumReport spectrum;
    std::unique_ptr<CMeasure> spectrumCurves; // density and its band, as the window shows them
    std::string spectrumError;
    std::vector<double> targetDensity; // at the spectrum's bins, with a target
    double targetHm0 = 0, targetTp = 0;
    bool hasWaves = false;
    WaveStatistics waves;
    std::unique_ptr<CMeasure> exceedance;
    std::string wavesError;
};

struct FileReport {
    std::string path;
    std::string error; // why the file is not in the report; empty when it is
    std::string name, date;
    double sampleRate = 0;
    int32_t from = 0, to = 0; // the analysed rows
    int32_t sampleCount = 0;
    std::vector<ChannelRow> channels;
    const CMeasure* record = nullptr; // for the overview plot, while it lives
    std::unique_ptr<CMeasure> owned;  // the record when the report holds it
    std::vector<GaugeReport> gauges;
    bool hasReflection = false;
    ReflectionResult reflection;
    std::unique_ptr<CMeasure> reflectionCurves;
    std::string reflectionError;
    std::string reflectionUnit;

    double duration() const { return sampleRate > 0 ? (to - from) / sampleRate : 0; }
    // An analysis asked for that could not be made, with its reason, or empty.
    std::string firstFailure() const;
};

// A file that could not be read: its row with `why`.
FileReport unreadFile(const std::string& path, const std::string& why);

// Analyses `record` after `options`; the report refers to it. A failure of
// the range or the channels is the file's error; an analysis that fails
// keeps its reason beside the others.
FileReport analyseFile(const std::string& path, const CMeasure& record,
                       const ReportOptions& options);
// The same for a record the report keeps.
FileReport analyseFile(const std::string& path, std::unique_ptr<CMeasure> record,
                       const ReportOptions& options);

// One wave analysis as a desktop window holds it: the blocks it analyses,
// copied out of the source measurement so that the result outlives the
// source's window, the options a Recalculate may change, and the curves and
// parameter lines of the last run that succeeded.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "measure/measure.h"
#include "waves/block_values.h"
#include "waves/spectral_parameters.h"
#include "waves/wave_by_wave.h"

enum class WaveAnalysis { Statistics, Spectrum, Reflection };

// What a Reflection run gives besides its spectra and Kr: nothing more, the
// incident and reflected series at the first gauge, or a regular wave's
// harmonics in place of the spectral parameters.
enum class ReflectionOutput { Spectra, Series, Regular };

struct WaveRunOptions {
    std::vector<int32_t> channels; // one; 2 to 16 gauges for Reflection
    int32_t from = 0, to = 0;
    WaveOptions waves;                 // Statistics (its depth and slope too)
    int32_t segment = 0;               // Spectrum and Reflection; 0: the default
    SpectralBand band;                 // Spectrum and Reflection
    Detrend detrend = Detrend::Linear; // Spectrum and Reflection (per gauge)
    std::vector<double> positions;     // Reflection, m, one per gauge
    double depth = 0;                  // Reflection, m
    ReflectionOutput reflectionOutput = ReflectionOutput::Spectra;
};

class CWaveResult : public CMeasure {
  public:
    explicit CWaveResult(WaveAnalysis kind) : kind(kind) {}

    // Copies the blocks of `channels` over from..to out of `source` and keeps
    // `options`. False with `*error` set (and nothing changed) when a channel
    // is not the source's, a channel is named twice or the block is empty.
    bool TakeBlocks(const CMeasure& source, const WaveRunOptions& options, std::string* error);
    // The blocks, options, unit and source of `other`, for a run of its own.
    void TakeBlocksOf(const CWaveResult& other);
    // Runs the analysis on the blocks taken with `options`' analysis fields
    // (its channels and range are those of the blocks). On success the
    // result shows the new curves and lines and keeps the options; on
    // failure, `*error` says why and the result stays as it was.
    bool Compute(const WaveRunOptions& options, std::string* error);
    bool computed() const { return !parameterLines.empty(); }

    const WaveAnalysis kind;
    WaveRunOptions options;
    std::vector<BlockValues> blocks;
    std::string unit;       // of the first channel
    std::string sourcePath; // of the measurement the blocks came from
    // "label<TAB>value", as ondarix-batch prints them.
    std::vector<std::string> parameterLines;
    // What the last run says about gauge noise, each a sentence naming the
    // dialog's field that helps; empty when nothing shows.
    std::vector<std::string> warnings;
    // Statistics: the exceedance plot (exceedance_measure.h), X the height.
    CMeasure exceedance;
    // Reflection with ReflectionOutput::Series: the incident and reflected
    // elevations, for a window of their own; null otherwise.
    std::unique_ptr<CMeasure> series;
};

// "Wave statistics", "Spectrum" or "Reflection".
const char* waveAnalysisName(WaveAnalysis kind);

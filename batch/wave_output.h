// What the wave commands (waves, spectrum, reflection) share: their result
// text, their JSON fields and their output files.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "batch/batch_command.h"
#include "measure/measure.h"
#include "waves/noise_warning.h"
#include "waves/spectral_parameters.h"
#include "waves/wave_by_wave.h"

// Prints "label<TAB>value" lines as an aligned table for people.
void printParameterLines(const std::vector<std::string>& lines);

// Prints a flat JSON object, every number with full precision (null when not
// finite).
using JsonFields = std::vector<std::pair<std::string, double>>;
// `arrays` follow the numbers as lists of numbers.
using JsonArrays = std::vector<std::pair<std::string, std::vector<double>>>;
// `warnings`, when given, ends it as "warnings": a list of texts, empty or not.
void printJsonObject(const JsonFields& fields, const JsonArrays& arrays = {},
                     const std::vector<std::string>* warnings = nullptr);

// The noise warnings of a result as ondarix-batch words them.
std::vector<std::string> noiseWarningTexts(const std::vector<NoiseWarning>& warnings);
// `lines` with a "Warning<TAB>text" line after them for each warning: the
// result's own lines, so that they go where the result goes.
std::vector<std::string> withWarningLines(std::vector<std::string> lines,
                                          const std::vector<std::string>& warnings);

// --fmin and --fmax.
SpectralBand bandFromArgs(Args& args);

// --up, --threshold, --depth and --slope; a malformed number is the usage
// error of `args`. Whether depth and slope go together is the caller's.
void waveOptionsFromArgs(Args& args, WaveOptions& options);

// --detrend none|mean|linear, `fallback` without it. Any other value prints
// one line and returns EXIT_USAGE; EXIT_OK otherwise.
int detrendFromArgs(const Args& args, Detrend fallback, Detrend& out);

// The output type of a spectrum file: .TXT or .INT; false for anything else.
bool spectrumOutputIsKnown(const std::string& path);
// Writes `m` as .TXT or .INT after the extension; one line on stderr and
// EXIT_FAILED when it cannot.
int writeSpectrumOutput(CMeasure& m, const std::string& path);
// Writes text lines with CR LF ends; one line and EXIT_FAILED on failure.
int writeTextLines(const std::vector<std::string>& lines, const std::string& path);

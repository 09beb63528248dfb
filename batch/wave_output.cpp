#include "batch/wave_output.h"

#include <cstdio>

#include "batch/json_text.h"
#include "measure/atomic_file.h"
#include "measure/measure_file.h"

void printParameterLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        size_t tab = line.find('\t');
        std::printf("%-22s %s\n", line.substr(0, tab).c_str(),
                    tab == std::string::npos ? "" : line.c_str() + tab + 1);
    }
}

void printJsonObject(const JsonFields& fields, const JsonArrays& arrays,
                     const std::vector<std::string>* warnings) {
    std::printf("{\n");
    for (size_t i = 0; i < fields.size(); ++i)
        std::printf("  %s: %s%s\n", jsonString(fields[i].first).c_str(),
                    jsonNumber(fields[i].second).c_str(),
                    i + 1 < fields.size() || !arrays.empty() || warnings ? "," : "");
    for (size_t i = 0; i < arrays.size(); ++i) {
        std::printf("  %s: [", jsonString(arrays[i].first).c_str());
        const std::vector<double>& values = arrays[i].second;
        for (size_t j = 0; j < values.size(); ++j)
            std::printf("%s%s", j ? ", " : "", jsonNumber(values[j]).c_str());
        std::printf("]%s\n", i + 1 < arrays.size() || warnings ? "," : "");
    }
    if (warnings) {
        std::printf("  \"warnings\": [");
        for (size_t j = 0; j < warnings->size(); ++j)
            std::printf("%s%s", j ? ", " : "", jsonString((*warnings)[j]).c_str());
        std::printf("]\n");
    }
    std::printf("}\n");
}

std::vector<std::string> noiseWarningTexts(const std::vector<NoiseWarning>& warnings) {
    std::vector<std::string> texts;
    for (const NoiseWarning& w : warnings)
        texts.push_back(batchWarningText(w));
    return texts;
}

std::vector<std::string> withWarningLines(std::vector<std::string> lines,
                                          const std::vector<std::string>& warnings) {
    for (const std::string& w : warnings)
        lines.push_back("Warning\t" + w);
    return lines;
}

SpectralBand bandFromArgs(Args& args) {
    SpectralBand band;
    band.fmin = args.getDouble("fmin", 0);
    band.fmax = args.getDouble("fmax", 0);
    return band;
}

void waveOptionsFromArgs(Args& args, WaveOptions& options) {
    options.upCrossing = args.has("up");
    options.threshold = args.getDouble("threshold", 0);
    options.depth = args.getDouble("depth", 0);
    options.slope = args.getDouble("slope", 0);
}

int detrendFromArgs(const Args& args, Detrend fallback, Detrend& out) {
    out = fallback;
    if (!args.has("detrend")) return EXIT_OK;
    if (detrendFromName(args.get("detrend"), out)) return EXIT_OK;
    return reportError(EXIT_USAGE,
                       "--detrend takes none, mean or linear, not \"" + args.get("detrend") + "\"");
}

namespace {

bool outputType(const std::string& path, FileType& type) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    type = fileTypeFromPath(path);
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == "txt" || ext == "int";
}

} // namespace

bool spectrumOutputIsKnown(const std::string& path) {
    FileType type;
    return outputType(path, type);
}

int writeSpectrumOutput(CMeasure& m, const std::string& path) {
    FileType type;
    if (!outputType(path, type)) return reportError(EXIT_USAGE, "OUT must end in .TXT or .INT");
    std::string why;
    if (!writeMeasure(m, path, type, &why))
        return reportError(EXIT_FAILED, path + ": could not be written: " + why);
    return EXIT_OK;
}

int writeTextLines(const std::vector<std::string>& lines, const std::string& path) {
    std::string text, why;
    for (const std::string& line : lines)
        text += line + "\r\n";
    if (!replaceFile(path, text, &why))
        return reportError(EXIT_FAILED, path + ": could not be written: " + why);
    return EXIT_OK;
}

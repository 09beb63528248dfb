#include "batch/measure_input.h"

#include <cmath>
#include <cstdio>

#include "measure/finite_block.h"
#include "measure/measure_file.h"
#include "measure/save_target.h"

namespace {

using Reader = bool (*)(CMeasure&, const std::string&, FileType, std::string*, const ReadOptions&,
                        ReadReport*);

// The option that would have let a refused read go on, as the refusal names it.
const char* neededOption(const ReadReport& report) {
    if (report.rateNeeded) return " (--rate HZ)";
    if (report.variableNeeded) return " (--variable NAME)";
    if (report.datasetNeeded) return " (--dataset PATH)";
    return "";
}

void warn(const std::string& message) {
    std::fprintf(stderr, "ondarix-batch: warning: %s\n", message.c_str());
}

void note(const std::string& message) {
    std::fprintf(stderr, "ondarix-batch: note: %s\n", message.c_str());
}

// With `failure`, a file that cannot be read is told there instead of on stderr.
int readWith(Reader reader, CMeasure& m, const std::string& path, Args& args, ReadReport* shown,
             std::string* failure = nullptr) {
    FileType type = fileTypeFromPath(path);
    if (args.has("type") && !fileTypeFromName(args.get("type"), type)) {
        return reportError(EXIT_USAGE, "unknown --type '" + args.get("type") + "' (" +
                                           fileTypeNameList(false) + ")");
    }
    // The rate for a file that does not say its own, or over a CSV's time
    // column; the variable only for a MATLAB file that holds several.
    ReadOptions options{args.has("partial"), args.getDouble("rate", 0), args.get("variable")};
    if (!args.error().empty()) return reportError(EXIT_USAGE, args.error());
    if (args.has("rate") && !(options.rate > 0 && std::isfinite(options.rate)))
        return reportError(EXIT_USAGE, "--rate takes a positive number of samples per second");
    if (args.has("variable") && options.variable.empty())
        return reportError(EXIT_USAGE, "--variable takes the name of a variable");
    // The dataset of an HDF5 file that is not in Ondarix's own layout.
    options.dataset = args.get("dataset");
    std::string why;
    ReadReport report;
    if (!reader(m, path, type, &why, options, &report)) {
        const std::string text = readFailureText(path, type, why) + neededOption(report);
        if (!failure) return reportError(EXIT_FAILED, text);
        *failure = text;
        return EXIT_FAILED;
    }
    // What was left out of the file is never passed over in silence.
    if (report.isPartial()) warn(partialReadText(path, report));
    if (report.timeColumnIgnored) note(ignoredTimeText(path, m.sampleRate));
    if (shown)
        *shown = report;
    else if (report.bytesIgnored > 0)
        warn(ignoredBytesText(path, report));
    return EXIT_OK;
}

} // namespace

std::vector<std::string> withReadingValues(std::vector<std::string> own) {
    own.insert(own.begin(), {"type", "rate", "dataset", "variable"});
    return own;
}

std::vector<std::string> withReadingOptions(std::vector<std::string> own) {
    own = withReadingValues(std::move(own));
    own.push_back("partial");
    return own;
}

const char* typeChoices(bool writableOnly) {
    static const std::string all = fileTypeNameList(false, "|", "|"),
                             writable = fileTypeNameList(true, "|", "|");
    return (writableOnly ? writable : all).c_str();
}

int readInput(CMeasure& m, const std::string& path, Args& args) {
    return readWith([](CMeasure& r, const std::string& p, FileType t, std::string* e,
                       const ReadOptions& o,
                       ReadReport* report) { return readMeasure(r, p, t, e, nullptr, o, report); },
                    m, path, args, nullptr);
}

int readInputQuietly(CMeasure& m, const std::string& path, Args& args, std::string& failure) {
    return readWith([](CMeasure& r, const std::string& p, FileType t, std::string* e,
                       const ReadOptions& o,
                       ReadReport* report) { return readMeasure(r, p, t, e, nullptr, o, report); },
                    m, path, args, nullptr, &failure);
}

int readInputHeader(CMeasure& m, const std::string& path, Args& args, ReadReport* report) {
    return readWith(&readMeasureHeader, m, path, args, report);
}
int blockFromArgs(Args& args, const CMeasure& m, BlockRange& range) {
    range.channel = args.getInt("channel", 0);
    range.from = args.getInt("from", 0);
    range.to = args.getInt("to", m.sampleCount);
    if (!args.error().empty()) return reportError(EXIT_USAGE, args.error());
    if (!m.hasChannel(range.channel)) {
        return reportError(EXIT_FAILED, "channel " + std::to_string(range.channel) +
                                            " does not exist (the measurement has " +
                                            std::to_string(m.channelCount) + ")");
    }
    auto inside = [&](int32_t v) { return v >= 0 && v <= m.sampleCount; };
    if (!inside(range.from) || !inside(range.to)) {
        return reportError(EXIT_FAILED, "range " + std::to_string(range.from) + ".." +
                                            std::to_string(range.to) + " is outside 0.." +
                                            std::to_string(m.sampleCount));
    }
    return EXIT_OK;
}

int refuseNonFinite(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                    int32_t to, bool imaginary) {
    std::string why = nonFiniteRefusal(m, channels, from, to, imaginary);
    return why.empty() ? EXIT_OK : reportError(EXIT_FAILED, why);
}

int refuseNonFinite(const CMeasure& m, const BlockRange& range, bool imaginary) {
    return refuseNonFinite(m, {range.channel}, range.from, range.to, imaginary);
}

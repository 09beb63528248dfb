#include "batch/measure_input.h"

#include "measure/finite_block.h"
#include "measure/measure_file.h"
#include "measure/save_target.h"

namespace {

using Reader = bool (*)(CMeasure&, const std::string&, FileType, std::string*);

int readWith(Reader reader, CMeasure& m, const std::string& path, const Args& args) {
    FileType type = fileTypeFromPath(path);
    if (args.has("type") && !fileTypeFromName(args.get("type"), type)) {
        return reportError(EXIT_USAGE,
                           "unknown --type '" + args.get("type") + "' (int, m11, txt or wav)");
    }
    std::string why;
    if (reader(m, path, type, &why)) return EXIT_OK;
    return reportError(EXIT_FAILED, readFailureText(path, type, why));
}

} // namespace

int readInput(CMeasure& m, const std::string& path, const Args& args) {
    return readWith([](CMeasure& r, const std::string& p, FileType t,
                       std::string* e) { return readMeasure(r, p, t, e); },
                    m, path, args);
}

int readInputHeader(CMeasure& m, const std::string& path, const Args& args) {
    return readWith(&readMeasureHeader, m, path, args);
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

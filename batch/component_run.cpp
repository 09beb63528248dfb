#include "batch/component_run.h"

#include <cstdio>
#include <vector>

#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "batch/standard_output.h"
#include "measure/atomic_file.h"
#include "measure/component_list_text.h"
#include "waves/spectrum_starts.h"

bool readWholeFile(const std::string& path, std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

int checkComponentRunArgs(Args& args, const BatchCommand& command, FileType& outType) {
    const std::string name = command.name;
    if (!args.error().empty()) return usageError(command, args.error());
    if (args.positional().size() != 1) return usageError(command, name + " takes one input file");
    if (!args.has("channel") || !args.has("from") || !args.has("to") || !args.has("components"))
        return usageError(command, name + " needs --channel, --from, --to and --components");
    if (!args.has("o")) return usageError(command, name + " needs -o OUT");
    const std::string& out = args.get("o");
    size_t dot = out.find_last_of('.');
    bool named = dot != std::string::npos && out.find('/', dot) == std::string::npos &&
                 fileTypeFromName(out.substr(dot + 1), outType);
    if (!named || (outType != FileType::Int && outType != FileType::Text))
        return usageError(command, "OUT must end in .INT or .TXT");
    const std::string& in = args.positional()[0];
    int count = 0;
    std::string why;
    const bool automatic = autoComponentCount(args.get("components"), count, &why);
    if (automatic && count == 0) return usageError(command, why);
    std::vector<std::string> inputs{in};
    if (!automatic) inputs.push_back(args.get("components"));
    if (int rc = refuseOutputOverInput(out, inputs)) return rc;
    // Writing the updated list over the start list is how a list is kept up
    // to date; only the measurement, read or written, must not be replaced by it.
    const std::string& listOut = args.get("components-out");
    if (!listOut.empty() && sameOutput(listOut, out))
        return reportError(EXIT_FAILED, "--components-out " + listOut + " is the same file as -o " +
                                            out + "; nothing written");
    return refuseOutputOverInput(listOut, {in});
}

namespace {

int readComponents(const std::string& path, SignalParameters& list) {
    std::string text, why;
    if (!readWholeFile(path, text)) return reportError(EXIT_FAILED, path + ": cannot be read");
    BlockRange ignored{};
    if (!parseComponentList(text, ignored, list, &why))
        return reportError(EXIT_FAILED, path + ": not a component list: " + why);
    return EXIT_OK;
}

} // namespace

int readComponentRunInput(Args& args, CMeasure& m, BlockRange& range) {
    if (int rc = readInput(m, args.positional()[0], args)) return rc;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    SignalParameters& list = m.signalParameters[range.channel];
    int count = 0;
    std::string why;
    if (!autoComponentCount(args.get("components"), count, &why))
        return readComponents(args.get("components"), list);
    // A NaN would leave the spectrum without a peak; name the value instead.
    if (int rc = refuseNonFinite(m, range)) return rc;
    if (!spectrumStartComponents(m, range, count, list, &why))
        return reportError(EXIT_FAILED, "--components auto:" + std::to_string(count) + ": " + why);
    return EXIT_OK;
}

int writeComponentRunOutputs(Args& args, CMeasure& result, FileType type, const BlockRange& range,
                             const SignalParameters& list, const std::string& copyAllText) {
    std::string why;
    if (!writeMeasure(result, args.get("o"), type, &why))
        return reportError(EXIT_FAILED, args.get("o") + ": could not be written: " + why);
    if (args.has("components-out") &&
        !replaceFile(args.get("components-out"), componentListText(range, list), &why))
        return reportError(EXIT_FAILED, "cannot write " + args.get("components-out") + ": " + why);
    printText(copyAllText);
    return EXIT_OK;
}

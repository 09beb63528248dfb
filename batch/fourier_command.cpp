// ondarix-batch fourier: the spectrum (or the inverse transform) of one
// channel's block, saved as a result text or an .INT file.
#include <cctype>
#include <cstdio>
#include <string>

#include "analysis/fourier.h"
#include "batch/batch_command.h"
#include "batch/calculation_run.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "measure/atomic_file.h"
#include "measure/int_format.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("fourier");
    return command;
}

enum class OutputKind { Text, Int, Unknown };

OutputKind outputKind(const std::string& path) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return OutputKind::Unknown;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "txt") return OutputKind::Text;
    if (ext == "int") return OutputKind::Int;
    return OutputKind::Unknown;
}

bool writeResultText(CCalculation& result, const std::string& path, std::string* error) {
    AtomicFile out;
    bool ok = out.open(path) &&
              out.commit(out.writeStream([&result](std::FILE* f) { return result.WriteText(f); }));
    if (!ok) *error = out.error();
    return ok;
}

int runFourier(Args& args) {
    args.allowOnly(withReadingOptions({"channel", "from", "to", "inverse", "o"}));
    if (!args.error().empty()) return usageError(self(), args.error());
    if (args.positional().size() != 1) return usageError(self(), "fourier takes one input file");
    if (!args.has("o")) return usageError(self(), "fourier needs -o OUT");
    const std::string out = args.get("o");
    OutputKind kind = outputKind(out);
    if (kind == OutputKind::Unknown) return usageError(self(), "OUT must end in .TXT or .INT");
    if (int rc = refuseOutputOverInput(out, args.positional())) return rc;

    CMeasure source;
    if (int rc = readInput(source, args.positional()[0], args)) return rc;
    BlockRange range;
    if (int rc = blockFromArgs(args, source, range)) return rc;
    // A file of no samples could not be read back; say so instead of writing one.
    if (range.from == range.to) return reportError(EXIT_FAILED, "the range is empty");

    FourierOptions options;
    options.inverse = args.has("inverse") ? 1 : 0;
    RangeCheck check = checkRange(&source, range);
    if (check != RangeCheck::Ok) return reportError(EXIT_FAILED, rangeCheckText(check));
    CFft result(&source, range, options);
    if (int rc = refuseNonFinite(source, range, options.inverse != 0)) return rc;
    if (!runCalculation(result, "fourier"))
        return reportError(EXIT_FAILED, "the transform could not be started (out of memory?)");

    std::string why;
    bool written = kind == OutputKind::Text ? writeResultText(result, out, &why)
                                            : writeInt(result, out.c_str(), &why);
    if (!written) return reportError(EXIT_FAILED, out + ": could not be written: " + why);
    return EXIT_OK;
}

BatchCommandRegistration fourier{
    {"fourier",
     "IN [--channel C] [--from A] [--to B] [--inverse] [--type T] " READING_USAGE
     " -o OUT.TXT|OUT.INT",
     "discrete Fourier transform of one channel's block (forward, or inverse with --inverse)",
     withReadingValues({"channel", "from", "to", "o"}), runFourier}};

} // namespace

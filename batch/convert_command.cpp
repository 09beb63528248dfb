// ondarix-batch convert: read with one reader, write with one writer.
#include <string>

#include "batch/batch_command.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "measure/measure_file.h"

namespace {

int runConvert(Args& args) {
    static const BatchCommand& self = *findBatchCommand("convert");
    args.allowOnly({"type", "partial", "out-type"});
    if (!args.error().empty()) return usageError(self, args.error());
    if (args.positional().size() != 2) return usageError(self, "convert takes IN and OUT");
    const std::string& out = args.positional()[1];
    FileType outType = fileTypeFromPath(out);
    if (args.has("out-type") && !fileTypeFromName(args.get("out-type"), outType))
        return usageError(self, "unknown --out-type '" + args.get("out-type") + "'");
    if (outType == FileType::Wave) return usageError(self, "cannot write .WAV (int, m11 or txt)");
    if (int rc = refuseOutputOverInput(out, {args.positional()[0]})) return rc;
    CMeasure m;
    if (int rc = readInput(m, args.positional()[0], args)) return rc;
    std::string why;
    if (!writeMeasure(m, out, outType, &why)) return reportError(EXIT_FAILED, why);
    return EXIT_OK;
}

BatchCommandRegistration convert{
    {"convert",
     "IN OUT [--type int|m11|txt|wav] [--partial] [--out-type int|m11|txt]",
     "convert a measurement to another format",
     {"type", "out-type"},
     runConvert}};

} // namespace

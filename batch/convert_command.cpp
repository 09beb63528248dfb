// ondarix-batch convert: read with one reader, write with one writer.
#include <string>

#include "batch/batch_command.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "measure/measure_file.h"

namespace {

int runConvert(Args& args) {
    static const BatchCommand& self = *findBatchCommand("convert");
    args.allowOnly(withReadingOptions({"out-type"}));
    if (!args.error().empty()) return usageError(self, args.error());
    if (args.positional().size() != 2) return usageError(self, "convert takes IN and OUT");
    const std::string& out = args.positional()[1];
    FileType outType = fileTypeFromPath(out);
    if (args.has("out-type") && !fileTypeFromName(args.get("out-type"), outType))
        return usageError(self, "unknown --out-type '" + args.get("out-type") + "'");
    const FileTypeRow& row = fileTypeRow(outType);
    if (!row.write) return usageError(self, cannotWriteText(row));
    if (int rc = refuseOutputOverInput(out, {args.positional()[0]})) return rc;
    CMeasure m;
    if (int rc = readInput(m, args.positional()[0], args)) return rc;
    std::string why;
    if (!writeMeasure(m, out, outType, &why)) return reportError(EXIT_FAILED, why);
    return EXIT_OK;
}

const std::string usage = std::string("IN OUT [--type ") + typeChoices() +
                          "] " READING_USAGE " [--out-type " + typeChoices(true) + "]";

BatchCommandRegistration convert{{"convert", usage.c_str(),
                                  "convert a measurement to another format",
                                  withReadingValues({"out-type"}), runConvert}};

} // namespace

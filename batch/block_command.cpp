// ondarix-batch block: one channel's block as text (X value, re, im per row).
#include <string>

#include "batch/batch_command.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "batch/standard_output.h"
#include "measure/text_format.h"

namespace {

int runBlock(Args& args) {
    static const BatchCommand& self = *findBatchCommand("block");
    args.allowOnly(withReadingOptions({"channel", "from", "to", "o"}));
    if (!args.error().empty()) return usageError(self, args.error());
    if (args.positional().size() != 1) return usageError(self, "block takes one input file");
    if (!args.has("channel") || !args.has("from") || !args.has("to"))
        return usageError(self, "block needs --channel, --from and --to");
    if (int rc = refuseOutputOverInput(args.get("o"), args.positional())) return rc;
    CMeasure m;
    if (int rc = readInput(m, args.positional()[0], args)) return rc;
    BlockRange range;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    if (!args.has("o")) {
        printText(blockText(m, range.channel, range.from, range.to));
        return EXIT_OK;
    }
    if (range.from == range.to)
        return reportError(EXIT_FAILED, "the block is empty; nothing written");
    std::string why;
    if (!writeBlockText(m, range.channel, range.from, range.to, args.get("o").c_str(), &why))
        return reportError(EXIT_FAILED, "cannot write " + args.get("o") + ": " + why);
    return EXIT_OK;
}

BatchCommandRegistration block{
    {"block", "IN --channel C --from A --to B [--type T] " READING_USAGE " [-o OUT]",
     "write one channel's block as text (stdout without -o)",
     withReadingValues({"channel", "from", "to"}), runBlock}};

} // namespace

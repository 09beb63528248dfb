// ondarix-batch aprox: fit a level and damped sinusoids to one channel's block,
// starting from a component list, and write the result channels.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "aprox/aprox.h"
#include "aprox/aprox_copy_text.h"
#include "batch/batch_command.h"
#include "batch/measure_input.h"
#include "measure/component_list_text.h"
#include "measure/measure_file.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("aprox");
    return command;
}

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

bool writeWholeFile(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

// .INT or .TXT by extension, in any letter case.
bool resultType(const std::string& path, FileType& type) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (ext == "int")
        type = FileType::Int;
    else if (ext == "txt")
        type = FileType::Text;
    else
        return false;
    return true;
}

int32_t flag(Args& args, const char* name, int32_t fallback) {
    int value = args.getInt(name, fallback);
    if (value != 0 && value != 1) args.fail(std::string("--") + name + " takes 0 or 1");
    return value;
}

// The component list of the run, from the signal-parameters "Copy all" text;
// its own channel and range are not used.
int readComponents(const std::string& path, SignalParameters& list) {
    std::string text, why;
    if (!readWholeFile(path, text)) return reportError(EXIT_FAILED, path + ": cannot be read");
    BlockRange ignored{};
    if (!parseComponentList(text, ignored, list, &why))
        return reportError(EXIT_FAILED, path + ": not a component list: " + why);
    return EXIT_OK;
}

// Waits for the worker; a progress line on a terminal, since the fit itself
// posts no progress.
void waitForRun(CAprox& result) {
    const bool progress = progressWanted();
    const AproxParams& p = result.aproxParams();
    while (result.state() == CalcState::Running) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (progress && p.count > 0) {
            int32_t done = p.done.load(std::memory_order_acquire);
            std::fprintf(stderr, "\raprox: Newton step %d, pass %3d%%", p.iteration.load(),
                         int(100.0 * done / p.count));
        }
    }
    if (progress) std::fprintf(stderr, "\r%40s\r", "");
    result.StopWorker();
}

const char* failureText(AproxStop stop) {
    switch (stop) {
    case AproxStop::LinearFailed:
        return "the components do not determine their amplitudes (two equal frequencies or a "
               "frequency of 0?); nothing was fitted";
    case AproxStop::Invalid:
        return "the fit refused its parameters";
    default:
        return nullptr;
    }
}

int writeOutputs(Args& args, CAprox& result, FileType type, const BlockRange& range,
                 const SignalParameters& list) {
    std::string why;
    if (!writeMeasure(result, args.get("o"), type, &why)) return reportError(EXIT_FAILED, why);
    if (args.has("components-out") &&
        !writeWholeFile(args.get("components-out"), componentListText(range, list)))
        return reportError(EXIT_FAILED, "cannot write " + args.get("components-out"));
    std::string text = aproxCopyText(list);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return EXIT_OK;
}

int runAproxCommand(Args& args) {
    args.allowOnly({"type", "channel", "from", "to", "components", "use-ad", "use-eta", "o",
                    "components-out"});
    AproxOptions options;
    options.use_ad = flag(args, "use-ad", options.use_ad);
    options.use_eta = flag(args, "use-eta", options.use_eta);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (args.positional().size() != 1) return usageError(self(), "aprox takes one input file");
    if (!args.has("channel") || !args.has("from") || !args.has("to") || !args.has("components"))
        return usageError(self(), "aprox needs --channel, --from, --to and --components");
    if (!args.has("o")) return usageError(self(), "aprox needs -o OUT");
    FileType type;
    if (!resultType(args.get("o"), type)) return usageError(self(), "OUT must end in .INT or .TXT");

    CMeasure m;
    if (int rc = readInput(m, args.positional()[0], args)) return rc;
    BlockRange range;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    SignalParameters& list = m.signalParameters[range.channel];
    if (int rc = readComponents(args.get("components"), list)) return rc;
    if (const char* why = aproxRefusal(&m, range, options)) return reportError(EXIT_FAILED, why);

    CAprox result(&m, range, options);
    if (!result.StartWorker(nullptr))
        return reportError(EXIT_FAILED, "the approximation could not be started (out of memory?)");
    waitForRun(result);
    if (const char* why = failureText(result.aproxParams().stop))
        return reportError(EXIT_FAILED, why);
    if (result.aproxParams().stop == AproxStop::Singular)
        std::fprintf(stderr, "ondarix-batch: note: Newton's method stopped at a singular system; "
                             "the values are those of the last step that could be taken\n");
    return writeOutputs(args, result, type, range, list);
}

BatchCommandRegistration aprox{
    {"aprox",
     "IN --channel C --from A --to B --components FILE [--use-ad 0|1] [--use-eta 0|1] "
     "[--type T] -o OUT.INT|OUT.TXT [--components-out FILE]",
     "fit a level and damped sinusoids to a block, starting from a component list "
     "(the signal-parameters \"Copy all\" text); prints the fit's \"Copy all\" text",
     {"type", "channel", "from", "to", "components", "use-ad", "use-eta", "components-out"},
     runAproxCommand}};

} // namespace

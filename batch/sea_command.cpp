// ondarix-batch sea: the drive of an irregular (or regular) sea for the
// wave-maker, and its correction from the sea a drive made.
#include <cctype>
#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "batch/batch_command.h"
#include "batch/json_text.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "batch/standard_output.h"
#include "measure/measure_file.h"
#include "sea/correction_round.h"
#include "sea/spectrum_table.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("sea");
    return command;
}

const std::vector<std::string> VALUED = {
    "spectrum",       "hm0",          "tp",         "gamma",       "depth",
    "paddle",         "hinge",        "dt",         "duration",    "seed",
    "method",         "fmin",         "fmax",       "ramp",        "regular",
    "max-stroke",     "max-velocity", "o",          "correct",     "channel",
    "from",           "to",           "smooth",     "drive",       "focus-time",
    "focus-distance", "crest",        "solitary",   "sigma",       "ochi-hubble",
    "order",          "pairs-fmin",   "pairs-fmax", "bichromatic", "elevation",
    "difference-fmin"};

// The flags of the second order.
const char* const HARMONIC_FLAGS[] = {"subharmonics", "superharmonics", "limit-subharmonics"};

// Comma-separated numbers into `fields`, exactly as many as there are.
bool parseNumbers(const std::string& text, std::initializer_list<double*> fields) {
    size_t from = 0, i = 0;
    for (double* field : fields) {
        const size_t comma = text.find(',', from);
        if ((comma == std::string::npos) != (++i == fields.size())) return false;
        const std::string cell =
            text.substr(from, comma == std::string::npos ? comma : comma - from);
        char* end = nullptr;
        *field = std::strtod(cell.c_str(), &end);
        if (cell.empty() || *end) return false;
        from = comma + 1;
    }
    return true;
}

// "H,T".
bool parseRegular(const std::string& text, SeaParameters& p) {
    return parseNumbers(text, {&p.regularHeight, &p.regularPeriod});
}

// "H1,T1,L1,H2,T2,L2".
bool parseOchiHubble(const std::string& text, OchiHubbleParts& o) {
    return parseNumbers(
        text, {&o.height[0], &o.period[0], &o.lambda[0], &o.height[1], &o.period[1], &o.lambda[1]});
}

// "H1,T1,H2,T2".
bool parseBichromatic(const std::string& text, SeaParameters& p) {
    return parseNumbers(text, {&p.bichromaticHeight[0], &p.bichromaticPeriod[0],
                               &p.bichromaticHeight[1], &p.bichromaticPeriod[1]});
}

// --order 2 and its controls: both interactions unless one is named.
void readOrder(Args& args, SeaParameters& p) {
    const std::string order = args.get("order", "1");
    if (order != "1" && order != "2") args.fail("--order is 1 or 2, not '" + order + "'");
    p.order = order == "2" ? 2 : 1;
    const bool sub = args.has("subharmonics"), super = args.has("superharmonics");
    if (p.order == 1) {
        for (const char* flag : HARMONIC_FLAGS)
            if (args.has(flag)) args.fail("--" + std::string(flag) + " belongs to --order 2");
        for (const char* name : {"pairs-fmin", "pairs-fmax", "difference-fmin"})
            if (args.has(name)) args.fail("--" + std::string(name) + " belongs to --order 2");
        return;
    }
    if (sub || super) {
        p.subharmonics = sub;
        p.superharmonics = super;
    }
    p.limitSubharmonics = args.has("limit-subharmonics");
    p.pairFmin = args.getDouble("pairs-fmin", 0);
    p.pairFmax = args.getDouble("pairs-fmax", 0);
    p.differenceFmin = args.getDouble("difference-fmin", SEA_DEFAULT_DIFFERENCE_FMIN);
}

bool parseSeed(const std::string& text, uint64_t& seed) {
    auto res = std::from_chars(text.data(), text.data() + text.size(), seed);
    return res.ec == std::errc() && res.ptr == text.data() + text.size() && !text.empty();
}

// The options the sea cannot be made without.
std::string missingOption(Args& args, bool spectral) {
    std::vector<std::string> needed = {"depth", "paddle", "duration", "o"};
    if (spectral) needed.insert(needed.begin(), {"spectrum", "hm0", "tp"});
    for (const std::string& name : needed)
        if (!args.has(name)) return "sea needs " + std::string(name == "o" ? "-o" : "--" + name);
    return {};
}

// --spectrum given more than once: a part for each, with its own --hm0 and
// --tp in the same order, and --gamma once for all or once for each.
void readParts(Args& args, SeaParameters& p) {
    const std::vector<std::string> shapes = args.all("spectrum"), hm0 = args.all("hm0"),
                                   tp = args.all("tp"), gamma = args.all("gamma");
    if (hm0.size() != shapes.size() || tp.size() != shapes.size() ||
        (gamma.size() > 1 && gamma.size() != shapes.size())) {
        args.fail("each --spectrum of a composite sea needs its own --hm0 and --tp (and --gamma, "
                  "once for all or once for each)");
        return;
    }
    p.spectrum = SpectrumShape::Composite;
    for (size_t i = 0; i < shapes.size(); ++i) {
        SeaPart part;
        char* end = nullptr;
        if (!spectrumShapeNamed(shapes[i], part.shape))
            args.fail("a part of a composite sea is jonswap, pm, tma, bm, gaussian or "
                      "torsethaugen, not '" +
                      shapes[i] + "'");
        part.hm0 = std::strtod(hm0[i].c_str(), &end);
        if (hm0[i].empty() || *end) args.fail("--hm0 takes a number, not '" + hm0[i] + "'");
        part.tp = std::strtod(tp[i].c_str(), &end);
        if (tp[i].empty() || *end) args.fail("--tp takes a number, not '" + tp[i] + "'");
        if (!gamma.empty()) {
            const std::string& g = gamma[gamma.size() > 1 ? i : 0];
            part.gamma = std::strtod(g.c_str(), &end);
            if (g.empty() || *end) args.fail("--gamma takes a number, not '" + g + "'");
        }
        p.parts.push_back(part);
    }
    compositeTotals(p.parts, p.hm0, p.tp);
}

// Options onto the parameters; a word that is none of the choices is a
// usage error, a spectrum that is none of the names a table's file.
void readParameters(Args& args, SeaParameters& p) {
    p.regular = args.has("regular");
    if (p.regular && !parseRegular(args.get("regular"), p))
        args.fail("--regular takes a height and a period H,T, not '" + args.get("regular") + "'");
    p.bichromatic = args.has("bichromatic");
    if (p.bichromatic && !parseBichromatic(args.get("bichromatic"), p))
        args.fail("--bichromatic takes two heights and periods H1,T1,H2,T2, not '" +
                  args.get("bichromatic") + "'");
    readOrder(args, p);
    const std::string spectrum = args.get("spectrum", "jonswap");
    if (!spectrumShapeNamed(spectrum, p.spectrum)) p.spectrum = SpectrumShape::Table;
    if (args.has("paddle") && !paddleTypeNamed(args.get("paddle"), p.paddle.type))
        args.fail("--paddle is piston or flap, not '" + args.get("paddle") + "'");
    if (args.has("method") && !seaMethodNamed(args.get("method"), p.method))
        args.fail("--method is phase or amplitude, not '" + args.get("method") + "'");
    if (args.has("seed") && !parseSeed(args.get("seed"), p.seed))
        args.fail("--seed takes a whole number >= 0, not '" + args.get("seed") + "'");
    p.hm0 = args.getDouble("hm0", p.hm0);
    p.tp = args.getDouble("tp", p.tp);
    p.sigma = args.getDouble("sigma", 0);
    if (args.all("spectrum").size() > 1) readParts(args, p);
    if (p.spectrum == SpectrumShape::OchiHubble) {
        if (!parseOchiHubble(args.get("ochi-hubble"), p.ochiHubble))
            args.fail("--spectrum ochi-hubble takes --ochi-hubble H1,T1,L1,H2,T2,L2 (six numbers)");
        if (args.has("hm0") || args.has("tp"))
            args.fail("an Ochi-Hubble sea's Hm0 and Tp come from --ochi-hubble");
        ochiHubbleTotals(p.ochiHubble, p.hm0, p.tp);
    } else if (args.has("ochi-hubble")) {
        args.fail("--ochi-hubble belongs to --spectrum ochi-hubble");
    }
    p.gamma = args.getDouble("gamma", p.gamma);
    p.depth = args.getDouble("depth", p.depth);
    p.paddle.hinge = args.getDouble("hinge", 0);
    p.dt = args.getDouble("dt", p.dt);
    p.duration = args.getDouble("duration", p.duration);
    p.fmin = args.getDouble("fmin", 0);
    p.fmax = args.getDouble("fmax", 0);
    p.ramp = args.getDouble("ramp", -1);
    p.focused = args.has("focused");
    // The middle of the drive unless asked: a group whose crests meet there
    // has room to form and to pass.
    p.focusTime = args.getDouble("focus-time", p.duration / 2);
    p.focusDistance = args.getDouble("focus-distance", 0);
    p.focusCrest = args.getDouble("crest", 0);
    p.solitaryHeight = args.getDouble("solitary", 0);
    p.maxStroke = args.getDouble("max-stroke", 0);
    p.maxVelocity = args.getDouble("max-velocity", 0);
}

void printReport(const SeaReport& r, const SeaParameters& p, bool json) {
    if (!json) {
        for (const std::string& line : seaReportLines(r, p)) {
            const size_t tab = line.find('\t');
            char text[200];
            std::snprintf(text, sizeof text, "%-26s %s\n", line.substr(0, tab).c_str(),
                          line.c_str() + tab + 1);
            printText(text);
        }
        return;
    }
    std::string text = "{\n";
    for (const auto& [key, word] : seaReportWords(r, p))
        text += "  " + jsonString(key) + ": " + jsonString(word) + ",\n";
    const auto fields = seaReportFields(r);
    for (size_t i = 0; i < fields.size(); ++i)
        text += "  " + jsonString(fields[i].key) + ": " + jsonNumber(fields[i].value) +
                (i + 1 < fields.size() ? ",\n" : "\n");
    printText(text + "}\n");
}

// A correction round: the measured block and the previous drive from files.
int correct(Args& args, SeaParameters& p, SeaDrive& drive) {
    CMeasure measured;
    if (int rc = readInput(measured, args.get("correct"), args)) return rc;
    BlockRange range;
    if (int rc = blockFromArgs(args, measured, range)) return rc;
    if (int rc = refuseNonFinite(measured, range)) return rc;
    const int32_t smooth = args.getInt("smooth", SEA_DEFAULT_SMOOTH);
    if (!args.error().empty()) return usageError(self(), args.error());
    CMeasure previous;
    if (args.has("drive")) {
        std::string why;
        const std::string path = args.get("drive");
        if (!readMeasure(previous, path, fileTypeFromPath(path), &why))
            return reportError(EXIT_FAILED, path + ": " + why);
    }
    std::string why;
    if (!correctionRound(p, args.has("drive") ? &previous : nullptr, measured, range, smooth, drive,
                         &why))
        return reportError(EXIT_FAILED, why + "; nothing written");
    return EXIT_OK;
}

int runSea(Args& args) {
    // The measured record of a correction is read as every input is.
    std::vector<std::string> known = withReadingOptions(VALUED);
    known.push_back("json"); // the flags of its own
    known.push_back("focused");
    known.insert(known.end(), std::begin(HARMONIC_FLAGS), std::end(HARMONIC_FLAGS));
    args.allowOnly(known);
    SeaParameters p;
    readParameters(args, p);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (!args.positional().empty()) return usageError(self(), "sea takes no input file");
    const bool spectral = !p.regular && !p.bichromatic && !args.has("solitary");
    std::string missing = missingOption(args, spectral && p.spectrum != SpectrumShape::OchiHubble);
    if (missing.empty() && spectral && !args.has("spectrum")) missing = "sea needs --spectrum";
    if (!missing.empty()) return usageError(self(), missing);
    for (const char* name : {"focus-time", "focus-distance", "crest"})
        if (!p.focused && args.has(name))
            return usageError(self(), "--" + std::string(name) + " belongs to --focused");
    const bool correcting = args.has("correct");
    for (const char* name : {"drive", "smooth", "channel", "from", "to", "type", "partial", "rate",
                             "dataset", "variable"})
        if (!correcting && args.has(name))
            return usageError(self(), "--" + std::string(name) + " belongs to --correct");
    const std::string out = args.get("o");
    FileType type;
    if (!writableTypeOfPath(out, type))
        return usageError(self(), "OUT must end in " + extensionList(true));
    std::vector<std::string> inputs = {args.get("correct"), args.get("drive")};
    if (p.spectrum == SpectrumShape::Table) inputs.push_back(args.get("spectrum"));
    if (int rc = refuseOutputOverInput(out, inputs)) return rc;
    const std::string elevationPath = args.get("elevation");
    FileType elevationType = type;
    if (!elevationPath.empty()) {
        if (!writableTypeOfPath(elevationPath, elevationType))
            return usageError(self(), "--elevation must end in " + extensionList(true));
        if (sameOutput(out, elevationPath))
            return usageError(self(), "--elevation must be another file than -o");
        if (int rc = refuseOutputOverInput(elevationPath, inputs)) return rc;
    }

    std::string why;
    if (!p.regular && p.spectrum == SpectrumShape::Table &&
        !readSpectrumTable(args.get("spectrum"), p.table, &why))
        return reportError(EXIT_FAILED, why);
    why = validateSeaParameters(p);
    if (!why.empty()) return reportError(EXIT_FAILED, why);
    SeaDrive drive;
    if (correcting) {
        if (int rc = correct(args, p, drive)) return rc;
    } else if (!synthesiseSea(p, drive, &why)) {
        return reportError(EXIT_FAILED, why + "; nothing written");
    }
    CMeasure m;
    if (!seaDriveMeasure(drive, m)) return reportError(EXIT_FAILED, "out of memory for the drive");
    if (!writeMeasure(m, out, type, &why)) return reportError(EXIT_FAILED, why);
    if (!elevationPath.empty()) {
        CMeasure e;
        if (!seaElevationMeasure(drive, e))
            return reportError(EXIT_FAILED, "out of memory for the elevation");
        if (!writeMeasure(e, elevationPath, elevationType, &why))
            return reportError(EXIT_FAILED, why);
    }
    printReport(drive.report, p, args.has("json"));
    return EXIT_OK;
}

BatchCommandRegistration sea{
    {"sea",
     "--spectrum jonswap|pm|tma|bm|gaussian|ochi-hubble|torsethaugen|FILE --hm0 H --tp T [--gamma "
     "3.3] --depth "
     "h "
     "--paddle piston|flap [--hinge z] [--dt 0.02] --duration s [--seed n] "
     "[--method phase|amplitude] [--fmin f] [--fmax f] [--ramp s] [--regular H,T] "
     "[--sigma Hz] [--ochi-hubble H1,T1,L1,H2,T2,L2] [--bichromatic H1,T1,H2,T2] "
     "[--order 1|2 [--subharmonics] [--superharmonics] [--limit-subharmonics] [--pairs-fmin f] "
     "[--pairs-fmax f] [--difference-fmin f]] [--elevation FILE] "
     "[--focused [--focus-time t] [--focus-distance x] [--crest A]] [--solitary H] "
     "[--max-stroke m] [--max-velocity m/s] [--correct MEASURED [--channel C] [--from A] "
     "[--to B] [--smooth n] [--drive PREVIOUS] [--type T] " READING_USAGE "] [--json] -o DRIVE",
     "drive signal of an irregular sea for a piston or flap wave-maker, and its correction",
     withReadingValues(VALUED), runSea}};

} // namespace

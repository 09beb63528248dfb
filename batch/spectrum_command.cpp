// ondarix-batch spectrum: the variance density spectrum of one channel's
// block and its spectral sea state parameters.
#include <string>

#include "batch/batch_command.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "batch/wave_output.h"
#include "waves/spectral_parameters.h"
#include "waves/spectrum_measure.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("spectrum");
    return command;
}

JsonFields jsonFields(const VarianceSpectrum& s, const SpectralParameters& p) {
    return {{"segment", s.segment},
            {"segments", s.segmentCount},
            {"df", s.df},
            {"fmin", p.fmin},
            {"fmax", p.fmax},
            {"m-1", p.mMinus1},
            {"m0", p.m0},
            {"m1", p.m1},
            {"m2", p.m2},
            {"Hm0", p.hm0},
            {"fp", p.fp},
            {"Tp", p.tp},
            {"Tm01", p.tm01},
            {"Tm02", p.tm02},
            {"Tm-10", p.tm10},
            {"width", p.width},
            {"Qp", p.qp}};
}

int runSpectrum(Args& args) {
    args.allowOnly({"type", "partial", "rate", "variable", "channel", "from", "to", "segment",
                    "fmin", "fmax", "o", "json"});
    const int32_t segment = args.getInt("segment", 0);
    const SpectralBand band = bandFromArgs(args);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (args.positional().size() != 1) return usageError(self(), "spectrum takes one input file");
    const std::string out = args.get("o");
    if (args.has("o") && !spectrumOutputIsKnown(out))
        return usageError(self(), "OUT must end in .TXT or .INT");
    if (int rc = refuseOutputOverInput(out, args.positional())) return rc;

    CMeasure m;
    if (int rc = readInput(m, args.positional()[0], args)) return rc;
    BlockRange range;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    BlockValues block;
    if (!blockValues(m, range, block)) return reportError(EXIT_FAILED, "the block is empty");
    if (int rc = refuseNonFinite(m, range)) return rc;
    VarianceSpectrum spectrum;
    SpectralParameters params;
    std::string why;
    if (!varianceSpectrum(block, segment, spectrum, &why) ||
        !spectralParameters(spectrum, band, params, &why))
        return reportError(EXIT_FAILED, why);
    const char* unit = m.channels[range.channel].unit;
    if (!out.empty()) {
        CMeasure result;
        if (!spectrumMeasure(spectrum, unit, result))
            return reportError(EXIT_FAILED, "out of memory for the spectrum");
        if (int rc = writeSpectrumOutput(result, out)) return rc;
    }
    if (args.has("json"))
        printJsonObject(jsonFields(spectrum, params));
    else
        printParameterLines(spectralParameterLines(params, unit));
    return EXIT_OK;
}

BatchCommandRegistration spectrum{
    {"spectrum",
     "IN [--channel C] [--from A] [--to B] [--segment N] [--fmin F] [--fmax F] [--type T] "
     "[--partial] [--rate HZ] [--variable NAME] "
     "[--json] [-o OUT.TXT|OUT.INT]",
     "variance density spectrum (Welch) and Hm0, Tp, Tm01, Tm02, Tm-10, width, Qp",
     {"type", "rate", "variable", "channel", "from", "to", "segment", "fmin", "fmax", "o"},
     runSpectrum}};

} // namespace

// ondarix-batch spectrum: the variance density spectrum of one channel's
// block and its spectral sea state parameters.
#include <string>

#include "batch/batch_command.h"
#include "batch/file_series.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "batch/wave_output.h"
#include "waves/spectrum_measure.h"
#include "waves/spectrum_report.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("spectrum");
    return command;
}

JsonFields jsonFields(const SpectrumReport& r) {
    const VarianceSpectrum& s = r.spectrum;
    const SpectralParameters& p = r.parameters;
    return {{"segment", s.segment},
            {"segments", s.segmentCount},
            {"df", s.df},
            {"fmin", p.fmin},
            {"fmax", p.fmax},
            {"m-1", p.mMinus1},
            {"m0", p.m0},
            {"m1", p.m1},
            {"m2", p.m2},
            {"variance_below_f1", s.varianceBelowF1},
            {"Hm0", p.hm0},
            {"fp", p.fp},
            {"Tp", p.tp},
            {"Tp_parabola", p.tpParabola},
            {"Tp5", p.tp5},
            {"TpD", p.tpD},
            {"Tm01", p.tm01},
            {"Tm02", p.tm02},
            {"Tm-10", p.tm10},
            {"width", p.width},
            {"Qp", p.qp},
            {"dof", r.band.dof},
            {"band_level", r.band.level},
            {"band_lower", r.band.lowerFactor},
            {"band_upper", r.band.upperFactor}};
}

struct SpectrumOptions {
    int32_t segment = 0;
    SpectralBand band;
    Detrend detrend = Detrend::Linear;
};

int spectrumOfChannel(const CMeasure& m, Args& args, const SpectrumOptions& options,
                      SeriesRow* row) {
    BlockRange range;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    BlockValues block;
    if (!blockValues(m, range, block)) return reportError(EXIT_FAILED, "the block is empty");
    if (int rc = refuseNonFinite(m, range)) return rc;
    SpectrumReport report;
    std::string why;
    if (!spectrumReport(block, options.segment, options.detrend, options.band, report, &why))
        return reportError(EXIT_FAILED, why);
    const char* unit = m.channels[range.channel].unit;
    const std::string out = args.get("o");
    if (!out.empty()) {
        CMeasure result;
        if (!spectrumMeasure(report.spectrum, report.band, unit, result))
            return reportError(EXIT_FAILED, "out of memory for the spectrum");
        if (int rc = writeSpectrumOutput(result, out)) return rc;
    }
    const std::vector<std::string> warnings = noiseWarningTexts(report.warnings);
    if (row)
        *row = seriesRow(jsonFields(report), {}, &warnings);
    else if (args.has("json"))
        printJsonObject(jsonFields(report), {}, &warnings);
    else
        printParameterLines(withWarningLines(spectrumReportLines(report, unit), warnings));
    return EXIT_OK;
}

int runSpectrum(Args& args) {
    args.allowOnly(withSeriesOptions(withReadingOptions(
        {"channel", "from", "to", "segment", "fmin", "fmax", "detrend", "o", "json"})));
    SpectrumOptions options;
    options.segment = args.getInt("segment", 0);
    options.band = bandFromArgs(args);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (int rc = detrendFromArgs(args, Detrend::Linear, options.detrend)) return rc;
    const std::string out = args.get("o");
    if (args.has("o") && !spectrumOutputIsKnown(out))
        return usageError(self(), "OUT must end in .TXT or .INT");
    if (int rc = refuseOutputOverInput(out, args.positional())) return rc;
    return runFileSeries({self(), true, {"o"}}, args,
                         [&](const std::string& path, Args& a, SeriesRows* rows) {
                             CMeasure m;
                             if (int rc = readInput(m, path, a)) return rc;
                             return forEachChannel(a, rows, [&](Args& one, SeriesRow* row) {
                                 return spectrumOfChannel(m, one, options, row);
                             });
                         });
}

BatchCommandRegistration spectrum{
    {"spectrum",
     "IN... [--channel C[,C...]] [--from A] [--to B] [--segment N] [--fmin F] [--fmax F] "
     "[--detrend "
     "none|mean|linear] [--type T] " READING_USAGE
     " [--json] [--table OUT.csv] [-o OUT.TXT|OUT.INT]",
     "variance density spectrum (Welch) with its 90 % band; Hm0, Tp (bin, parabola, Tp5, TpD), "
     "Tm01, Tm02, Tm-10, width, Qp",
     withSeriesOptions(
         withReadingValues({"channel", "from", "to", "segment", "fmin", "fmax", "detrend", "o"})),
     runSpectrum}};

} // namespace

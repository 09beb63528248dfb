// ondarix-batch report: the test report of one or more records, in HTML or
// PDF, with their header, plots and wave tables.
#include <QGuiApplication>
#include <QtGlobal>

#include <clocale>
#include <memory>
#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "batch/channel_selection.h"
#include "batch/measure_input.h"
#include "batch/number_list.h"
#include "batch/same_file.h"
#include "batch/wave_output.h"
#include "report/file_report.h"
#include "report/report_html.h"
#include "report/report_target.h"
#include "report/ui/report_writer.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("report");
    return command;
}

// --analyses waves,spectrum,reflection; false for any other word.
bool analysesFromText(const std::string& text, ReportOptions& options) {
    options.waves = options.spectrum = options.reflection = false;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t comma = text.find(',', at);
        const std::string word = text.substr(at, comma == std::string::npos ? comma : comma - at);
        if (word == "waves")
            options.waves = true;
        else if (word == "spectrum")
            options.spectrum = true;
        else if (word == "reflection")
            options.reflection = true;
        else
            return false;
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return true;
}

// The options of the analyses, parsed as the waves, spectrum and reflection
// commands parse theirs; a usage message when they do not fit.
std::string optionsFromArgs(Args& args, ReportOptions& options) {
    if (args.has("analyses") && !analysesFromText(args.get("analyses"), options))
        return "--analyses takes waves, spectrum and reflection separated by commas";
    if (args.has("channels") && !parseChannelList(args.get("channels"), options.channels))
        return "--channels takes channel numbers such as 0 or 0,2";
    waveOptionsFromArgs(args, options.waveOptions);
    options.segment = args.getInt("segment", 0);
    options.band = bandFromArgs(args);
    options.from = args.getInt("from", 0);
    options.to = args.getInt("to", -1);
    options.depth = args.getDouble("depth", 0);
    if (!args.error().empty()) return args.error();
    if (args.has("slope") && !args.has("depth")) return "--slope needs --depth";
    // The foreshore needs both; a depth alone is the reflection's.
    if (!args.has("slope")) options.waveOptions.depth = 0;
    if (options.reflection) {
        if (!args.has("positions") || !args.has("depth"))
            return "the reflection needs --positions and --depth";
        if (!numberList(args.get("positions"), options.positions))
            return "--positions takes numbers separated by commas";
    }
    return {};
}

// --target: the sea the files are compared with.
int targetFromArgs(Args& args, ReportOptions& options) {
    if (!args.has("target")) return EXIT_OK;
    if (args.get("target").empty()) return usageError(self(), "--target needs a file name");
    std::string why;
    if (!readReportTarget(args.get("target"), options.target, &why))
        return reportError(EXIT_FAILED, "--target " + why);
    options.hasTarget = true;
    return EXIT_OK;
}

int detrendsFromArgs(const Args& args, ReportOptions& options) {
    if (int rc = detrendFromArgs(args, Detrend::Mean, options.waveOptions.detrend)) return rc;
    return detrendFromArgs(args, Detrend::Linear, options.spectrumDetrend);
}

// Qt's painting needs a GUI application; no display is ever asked for, and
// Qt's own notes would break the one-line rule of stderr.
std::unique_ptr<QGuiApplication> paintingApplication() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static char name[] = "ondarix-batch";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    static int argc = 3;
    auto application = std::make_unique<QGuiApplication>(argc, argv);
    // Qt takes the user's locale; the report's numbers are written in "C".
    std::setlocale(LC_NUMERIC, "C");
    return application;
}

int runReport(Args& args) {
    args.allowOnly(withReadingOptions({"o", "channels", "analyses", "from", "to", "segment", "fmin",
                                       "fmax", "detrend", "up", "threshold", "depth", "slope",
                                       "positions", "target"}));
    ReportOptions options;
    const std::string wrong = optionsFromArgs(args, options);
    if (!wrong.empty()) return usageError(self(), wrong);
    if (int rc = detrendsFromArgs(args, options)) return rc;
    if (args.positional().empty())
        return usageError(self(), "report takes one or more input files");
    const std::string out = args.get("o");
    ReportFormat format;
    if (out.empty() || !reportFormatOfPath(out, format))
        return usageError(self(), "report needs -o OUT.html or OUT.pdf");
    if (int rc = refuseOutputOverInput(out, args.positional())) return rc;
    if (int rc = targetFromArgs(args, options)) return rc;

    std::vector<FileReport> files;
    for (const std::string& path : args.positional()) {
        auto m = std::make_unique<CMeasure>();
        std::string failure;
        const int rc = readInputQuietly(*m, path, args, failure);
        if (rc == EXIT_USAGE) return rc;
        files.push_back(rc == EXIT_OK ? analyseFile(path, std::move(m), options)
                                      : unreadFile(path, failure));
    }
    int status = EXIT_OK;
    for (const FileReport& f : files) {
        const std::string failure = f.firstFailure();
        if (failure.empty()) continue;
        // A read failure names its file already.
        reportError(EXIT_FAILED,
                    !f.channels.empty() ? reportFileName(f.path) + ": " + failure : failure);
        status = EXIT_FAILED;
    }
    auto application = paintingApplication();
    std::string why;
    if (!writeReport(files, out, format, &why)) return reportError(EXIT_FAILED, why);
    return status;
}

BatchCommandRegistration report{
    {"report",
     "IN... -o OUT.html|OUT.pdf [--channels C[,C...]] [--analyses waves,spectrum,reflection] "
     "[--from A] [--to B] [--segment N] [--fmin F] [--fmax F] [--detrend none|mean|linear] [--up] "
     "[--threshold H] [--depth D [--slope TANA]] [--positions X1,X2[,X3]] [--target DRIVE|TABLE] "
     "[--type T] " READING_USAGE,
     "a test report of records: header, plots of every channel, spectra, wave tables and "
     "reflection, in HTML or PDF",
     withReadingValues({"o", "channels", "analyses", "from", "to", "segment", "fmin", "fmax",
                        "detrend", "threshold", "depth", "slope", "positions", "target"}),
     runReport}};

} // namespace

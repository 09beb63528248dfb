// ondarix-batch plot: channels over a range of samples as a PNG, SVG or PDF
// picture, painted as the desktop program's export paints a window.
#include <QGuiApplication>
#include <QtGlobal>

#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "batch/channel_selection.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "view/export_format.h"
#include "view/export_layout.h"
#include "view/ui/plot_export.h"

namespace {

constexpr int DEFAULT_WIDTH = 1200;
constexpr int DEFAULT_HEIGHT = 800;

int runPlot(Args& args) {
    static const BatchCommand& self = *findBatchCommand("plot");
    args.allowOnly(withReadingOptions({"channel", "from", "to", "width", "height", "o"}));
    int width = args.getInt("width", DEFAULT_WIDTH);
    int height = args.getInt("height", DEFAULT_HEIGHT);
    if (!args.error().empty()) return usageError(self, args.error());
    if (args.positional().size() != 1) return usageError(self, "plot takes one input file");
    if (!args.has("o")) return usageError(self, "plot needs -o OUT.png, OUT.svg or OUT.pdf");
    ExportFormat format;
    if (!exportFormatOfPath(args.get("o"), format))
        return usageError(self, "the output must end in .png, .svg or .pdf");
    auto inside = [](int side) { return side >= MIN_EXPORT_SIDE && side <= MAX_EXPORT_SIDE; };
    if (!inside(width) || !inside(height))
        return usageError(self, "--width and --height take " + std::to_string(MIN_EXPORT_SIDE) +
                                    " to " + std::to_string(MAX_EXPORT_SIDE) + " pixels");
    std::vector<int32_t> channels;
    if (args.has("channel") && !parseChannelList(args.get("channel"), channels))
        return usageError(self, "--channel takes channel numbers such as 0 or 0,2");
    if (int rc = refuseOutputOverInput(args.get("o"), args.positional())) return rc;

    CMeasure m;
    if (int rc = readInput(m, args.positional()[0], args)) return rc;
    if (channels.empty())
        for (int32_t c = 0; c < m.channelCount && c < MAX_CHANNELS; ++c)
            channels.push_back(c);
    CMeasure shown;
    std::string why;
    if (!selectChannels(m, channels, shown, why)) return reportError(EXIT_FAILED, why);
    const int32_t from = args.getInt("from", 0);
    const int32_t to = args.getInt("to", shown.sampleCount);
    if (!args.error().empty()) return usageError(self, args.error());
    const std::string range = std::to_string(from) + ".." + std::to_string(to);
    if (from < 0 || to > shown.sampleCount)
        return reportError(EXIT_FAILED, "range " + range + " is outside 0.." +
                                            std::to_string(shown.sampleCount));
    if (from >= to) return reportError(EXIT_FAILED, "range " + range + " is empty or reversed");

    // Painting text needs a GUI application; no display is ever asked for.
    // Qt's own notes (a missing runtime directory and the like) would break
    // the one-line rule of stderr; failures are reported below.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static char name[] = "ondarix-batch";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    int argc = 3;
    QGuiApplication application(argc, argv);

    MeasureViewState view = rangeLayout(shown, from, to, width, height);
    scaleAsIn(m, channels, view);
    QString error;
    if (!writePlot(view, QString::fromLocal8Bit(args.get("o").c_str()), format, &error))
        return reportError(EXIT_FAILED, error.toStdString());
    return EXIT_OK;
}

BatchCommandRegistration plot{
    {"plot",
     "IN -o OUT.png|OUT.svg|OUT.pdf [--channel C[,C...]] [--from A] [--to B] [--width W] [--height "
     "H] [--type T] " READING_USAGE,
     "draw channels over a range of samples as the desktop program shows them",
     withReadingValues({"channel", "from", "to", "width", "height"}), runPlot}};

} // namespace

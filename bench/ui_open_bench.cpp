// The desktop program from choosing a 16 x 2,097,152 .INT in the Open dialog
// to the first painted view, against readInt of the same file: the rest is
// what the window costs on top of reading.
//
// Run: build-bench/bench/ui_open_bench (offscreen; the file, 128 MiB, is made
// in a temporary folder first). The counter open_over_read is the ratio.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QMdiArea>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/features.h"
#include "measure/int_format.h"
#include "shell/command_ids.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/mdi_child_wnd.h"
#include "shell/ui/modal_ui.h"
#include "support/temp_dir.h"

namespace {

constexpr int CHANNELS = 16;

TempDir& scratch() {
    static TempDir dir;
    return dir;
}

std::string recordPath() {
    return scratch().file("record.INT");
}

void writeRecord() {
    CMeasure m;
    m.channelCount = CHANNELS;
    m.sampleCount = INT_MAX_SAMPLES;
    m.sampleRate = 100.0;
    describePlainChannels(m);
    m.allocateSamples();
    for (int64_t i = 0; i < int64_t(CHANNELS) * INT_MAX_SAMPLES; ++i)
        m.setSample(int(i % m.channelCount), i / m.channelCount,
                    Sample{float((i * 7919) % 2000) / 1000.0f - 1.0f, 0.0f});
    writeInt(m, recordPath().c_str());
}

// Plays the user who picks the record in the Open dialog, as .INT.
class ChooseRecord : public ModalUi {
  public:
    int runDialog(ModalDialog& dialog) override {
        dialog.cancel();
        return 0;
    }
    FileDialogAnswer fileDialog(QWidget*, const FileDialogRequest&) override {
        return FileDialogAnswer{true, QString::fromStdString(recordPath()), 1, {}};
    }
    int popupMenu(const MenuPopup&, QWidget*, const QPoint&) override { return 0; }
    void message(QWidget*, const QString&) override {}
    bool openUrl(const QUrl&) override { return false; }
};

// Runs posted events and deferred deletions until a closed window and its
// measurement are really gone, so that freeing them is not timed.
void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Each round reads the record with readInt and opens it as the user does,
// one after the other in alternating order, so that both meet the machine in
// the same state; the time reported is the open's, and the counters give the
// medians of both and their ratio.
//
// Open: the Open command, reading, the window and its first paint (render()
// paints the MDI area with the new window as the screen would, into an image
// that stands for the window system's backing store, which outlives the
// windows drawn into it). The window is closed outside the timing.
void BM_OpenToFirstPaint(benchmark::State& state) {
    ChooseRecord user;
    setModalUi(&user);
    CMainFrame frame;
    frame.resize(1600, 1000);
    frame.show();
    settle();
    QImage screen(frame.mdiClient()->size(), QImage::Format_RGB32);
    screen.fill(Qt::white);
    std::vector<double> reads, opens;
    auto read = [&] {
        auto start = std::chrono::steady_clock::now();
        CMeasure m;
        if (!readInt(m, recordPath().c_str())) state.SkipWithError("the record cannot be read");
        reads.push_back(millisecondsSince(start));
    };
    for (auto _ : state) {
        if (reads.size() % 2 == 0) read();
        auto start = std::chrono::steady_clock::now();
        frame.frameCommand(CMD_OPEN, 0);
        if (!frame.activeChild()) {
            state.SkipWithError("no window opened");
            break;
        }
        frame.mdiClient()->render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
        opens.push_back(millisecondsSince(start));
        state.SetIterationTime(opens.back() / 1000.0);
        frame.mdiClient()->closeAllSubWindows();
        settle();
        if (reads.size() < opens.size()) read();
    }
    state.counters["readInt_ms"] = median(reads);
    state.counters["open_ms"] = median(opens);
    state.counters["open_over_read"] = median(opens) / median(reads);
    setModalUi(nullptr);
}

} // namespace

BENCHMARK(BM_OpenToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The frame saves its placement: keep it out of the user's settings.
    setenv("XDG_CONFIG_HOME", scratch().path().c_str(), 1);
    QApplication app(argc, argv);
    // File -> Open is the view's command, added with the features.
    registerFeatures();
    writeRecord();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

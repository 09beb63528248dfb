// The desktop program from choosing a 16 x 2,097,152 .INT in the Open dialog
// to the first painted view, against readInt of the same file: the rest is
// what the window costs on top of reading.
//
// Run: build-bench/bench/ui_open_bench (offscreen; the file, 128 MiB, is made
// in a temporary folder first). Compare BM_OpenToFirstPaint with BM_ReadInt.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QPixmap>

#include <cstdlib>
#include <string>

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
    m.resizeSamples(int64_t(CHANNELS) * INT_MAX_SAMPLES * 8);
    for (int64_t i = 0; i < int64_t(CHANNELS) * INT_MAX_SAMPLES; ++i)
        m.samples[i] = Sample{float((i * 7919) % 2000) / 1000.0f - 1.0f, 0.0f};
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
        return FileDialogAnswer{true, QString::fromStdString(recordPath()), 1};
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

void BM_ReadInt(benchmark::State& state) {
    for (auto _ : state) {
        CMeasure m;
        if (!readInt(m, recordPath().c_str())) state.SkipWithError("the record cannot be read");
    }
}

// Open command, reading, the window and its first paint (grab() paints the
// MDI area with the new window as the screen would), then the window is
// closed untimed.
void BM_OpenToFirstPaint(benchmark::State& state) {
    ChooseRecord user;
    setModalUi(&user);
    CMainFrame frame;
    frame.resize(1600, 1000);
    frame.show();
    settle();
    for (auto _ : state) {
        frame.frameCommand(CMD_OPEN, 0);
        CMDIChildWnd* child = frame.activeChild();
        if (!child) {
            state.SkipWithError("no window opened");
            break;
        }
        benchmark::DoNotOptimize(frame.mdiClient()->grab());
        state.PauseTiming();
        frame.mdiClient()->closeAllSubWindows();
        settle();
        state.ResumeTiming();
    }
    setModalUi(nullptr);
}

} // namespace

BENCHMARK(BM_ReadInt)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The frame saves its placement: keep it out of the user's settings.
    setenv("XDG_CONFIG_HOME", scratch().path().c_str(), 1);
    QApplication app(argc, argv);
    writeRecord();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

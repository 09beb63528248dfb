// A Fourier run of 2,097,152 samples started from the desktop: from the run
// dialog's OK to the finished result window (worker joined, curves shown),
// against the bare Fourier worker on the same samples in the same run.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cmath>
#include <memory>

#include "analysis/fourier.h"
#include "analysis/ui/fft_wnd.h"
#include "app/features.h"
#include "shell/command_ids.h"
#include "shell/dialog_templates.h"
#include "shell/ui/dialog_controls.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/modal_ui.h"
#include "shell/window_classes.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"

namespace {

constexpr int SAMPLES = 2097152;

// Presses OK in every dialog, as a user who accepts what it proposes.
class PressOk : public ModalUi {
  public:
    int runDialog(ModalDialog& dialog) override {
        if (auto* ok = qobject_cast<QAbstractButton*>(findControl(dialog.widget(), IDOK)))
            ok->click();
        return IDOK;
    }
    FileDialogAnswer fileDialog(QWidget*, const FileDialogRequest&) override { return {}; }
    int popupMenu(const MenuPopup&, QWidget*, const QPoint&) override { return 0; }
    void message(QWidget*, const QString&) override {}
    bool openUrl(const QUrl&) override { return false; }
};

CMeasure* makeRecord() {
    auto* m = new CMeasure;
    m->channelCount = 1;
    m->sampleCount = SAMPLES;
    m->sampleRate = 50.0;
    m->sampleFormat = SAMPLE_FORMAT_REAL;
    setChannelInfo(m->channels[0], 1, 0, "m", "gauge");
    resetParameters(m->signalParameters[0]);
    m->allocateSamples();
    for (int j = 0; j < SAMPLES; ++j)
        m->setSample(0, j,
                     Sample{float(0.04 * std::sin(0.0785 * j) + 0.01 * std::sin(0.31 * j)), 0});
    return m;
}

void BM_DesktopFourierRun(benchmark::State& state) {
    PressOk ok;
    setModalUi(&ok);
    auto frame = std::make_unique<CMainFrame>();
    frame->resize(1200, 800);
    frame->show();
    CMeasureWnd* source = openMeasureWindow(*frame, makeRecord());
    for (auto _ : state) {
        source->view->SetBlock(0, 0, SAMPLES);
        frame->mdiClient()->setActiveSubWindow(source->subWindow());
        frame->frameCommand(CMD_FOURIER, 0); // the dialog's OK, then the window
        auto* window = dynamic_cast<CFftWnd*>(frame->activeChild());
        while (window && window->running())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::processEvents(); // the last repaint
        state.PauseTiming();
        if (!window || window->measure->sampleCount != SAMPLES) state.SkipWithError("no spectrum");
        if (window) window->subWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    frame.reset();
    setModalUi(nullptr);
}

void BM_FourierWorkerSameLength(benchmark::State& state) {
    std::unique_ptr<CMeasure> record(makeRecord());
    std::vector<Sample> result(SAMPLES);
    FourierParams p;
    p.source = record->values(0);
    p.result_samples = result.data();
    p.channel = 0;
    p.first = 0;
    p.count = SAMPLES;
    for (auto _ : state) {
        p.done.store(0);
        FourierWorker(p);
        benchmark::DoNotOptimize(result.data());
    }
}

} // namespace

BENCHMARK(BM_FourierWorkerSameLength)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_DesktopFourierRun)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerWindowClasses();
    registerFeatures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

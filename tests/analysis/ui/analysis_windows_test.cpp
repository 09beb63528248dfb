// The analyses from the desktop, end to end on the bundled sample: a block
// selected, the run dialog confirmed, the worker's done message taken, and the
// result window's samples saved as .TXT byte for byte what ondarix-batch
// writes for the same block and options. Then Recalculate, Add and Sub sample,
// and a source closed while its result computes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

#include <cmath>
#include <cstdio>
#include <string>

#include "analysis/fourier_options.h"
#include "analysis/ui/analysis_dialog_templates.h"
#include "analysis/ui/fft_wnd.h"
#include "aprox/aprox_options.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "aprox/ui/aprox_wnd.h"
#include "frame_test_support.h"
#include "generator/generator_parameters.h"
#include "generator/ui/generator_dialog_templates.h"
#include "generator/ui/generator_wnd.h"
#include "kalman/kalman_options.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "kalman/ui/kalman_wnd.h"
#include "measure/component_list_text.h"
#include "shell/dialog_templates.h"
#include "shell/settings.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "view/ui/component_list.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

std::string fileText(const std::string& path) {
    auto bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

class AnalysisWindowsTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        globalFourierOptions = FourierOptions{};
        globalKalmanOptions = KalmanOptions{};
        globalAproxOptions = AproxOptions{};
        globalGeneratorParameters = GeneratorParameters{};
    }
    void TearDown() override {
        globalFourierOptions = FourierOptions{};
        globalKalmanOptions = KalmanOptions{};
        globalAproxOptions = AproxOptions{};
        globalGeneratorParameters = GeneratorParameters{};
        FrameTest::TearDown();
    }
    // File -> Open on the bundled sample, a block of gauge 1 selected.
    CMeasureWnd* openSample(int32_t from, int32_t to) {
        dialogScript::pushFile(SAMPLE_FILE, 1);
        frame->frameCommand(CMD_OPEN, 0);
        settle();
        auto* window = dynamic_cast<CMeasureWnd*>(frame->activeChild());
        if (window) window->view->SetBlock(1, from, to);
        return window;
    }
    // Runs `command` with its dialog confirmed as it opens; the new result window.
    template <typename Window> Window* run(int command) {
        dialogScript::pushDialog([](ScriptedDialog& d) { d.press(IDOK); });
        frame->frameCommand(command, 0);
        auto* window = dynamic_cast<Window*>(frame->activeChild());
        if (window) waitIdle(window);
        return window;
    }
    static void waitIdle(CResultWnd* window) {
        QElapsedTimer clock;
        clock.start();
        while (window->running() && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        settle();
    }
    // "&Recalculate" with "&Invers" checked; the window's plot mode after it.
    int32_t recalculateInverse(CFftWnd* w) {
        dialogScript::pushDialog([](ScriptedDialog& d) {
            d.setChecked(IDC_FOURIER_INVERSE, true);
            d.press(IDOK);
        });
        frame->frameCommand(CMD_RECALCULATE, 0);
        waitIdle(w);
        int32_t mode = 0;
        w->OnCommand(CMD_GET_PLOT_MODE, reinterpret_cast<intptr_t>(&mode));
        return mode;
    }
    // Save as .TXT from the active window.
    std::string saveActive(const char* name) {
        std::string path = dir.file(name);
        dialogScript::pushFile(q(path), 3);
        frame->frameCommand(CMD_SAVE_AS, 0);
        return fileText(path);
    }
    std::string batch(std::vector<std::string> args, const char* out) {
        args.insert(args.begin() + 1, SAMPLE_FILE);
        args.push_back("-o");
        args.push_back(dir.file(out));
        CommandResult r = runBatch(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return fileText(dir.file(out));
    }
    TempDir dir;
};

TEST_F(AnalysisWindowsTest, FourierWindowEqualsTheBatchSpectrumAndAddsAndSubsSamples) {
    CMeasureWnd* source = openSample(100, 1124);
    ASSERT_NE(source, nullptr);
    auto* w = run<CFftWnd>(CMD_FOURIER);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowClass(), "KelvoFourierClass");
    EXPECT_EQ(w->title(), QString(SAMPLE_FILE) + " - Fourier Analysis");
    EXPECT_EQ(w->measure->sampleCount, 1024);
    int32_t mode = 0;
    w->OnCommand(CMD_GET_PLOT_MODE, reinterpret_cast<intptr_t>(&mode));
    EXPECT_EQ(mode, PLOT_MODULE);
    EXPECT_EQ(saveActive("spectrum.TXT"),
              batch({"fourier", "--channel", "1", "--from", "100", "--to", "1124"}, "b.TXT"));

    // Ctrl+A / Ctrl+S: one sample more, then back.
    frame->frameCommand(CMD_ADD_SAMPLE, 0);
    waitIdle(w);
    EXPECT_EQ(w->fft()->range.to, 1125);
    EXPECT_EQ(w->measure->sampleCount, 1025);
    frame->frameCommand(CMD_SUB_SAMPLE, 0);
    waitIdle(w);
    EXPECT_EQ(w->measure->sampleCount, 1024);

    // Recalculate as an inverse transform switches the view to Signal.
    EXPECT_EQ(recalculateInverse(w), PLOT_SIGNAL);
    EXPECT_EQ(w->fft()->options.inverse, 1);
    EXPECT_EQ(globalFourierOptions.inverse, 0); // the window's own options only
}

// "Limit DFT", "Plot Phase" and "Line Plot" change the picture only: the
// spectrum is computed and saved in full, as ondarix-batch writes it.
TEST_F(AnalysisWindowsTest, FourierDisplayOptionsSteerTheViewNotTheResult) {
    ASSERT_NE(openSample(100, 1124), nullptr);
    globalFourierOptions.limited = 1;
    globalFourierOptions.limit_frequency = 2.0;
    globalFourierOptions.plot_phase = 1;
    globalFourierOptions.line_plot = 1;
    const FourierOptions chosen = globalFourierOptions;
    auto* w = run<CFftWnd>(CMD_FOURIER);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->measure->sampleCount, 1024);
    // Bin k lies at k / rate Hz: bins 0 .. floor(2 * rate) are shown.
    const int32_t shown = int32_t(std::floor(2.0 * w->measure->sampleRate)) + 1;
    ASSERT_LT(shown, 1024);
    EXPECT_EQ(w->view->sampleCount(), shown);
    EXPECT_EQ(w->view->visible_samples, shown); // the 0 .. 2 Hz across the window
    EXPECT_TRUE(w->view->line_plot);
    int32_t mode = 0;
    w->OnCommand(CMD_GET_PLOT_MODE, reinterpret_cast<intptr_t>(&mode));
    EXPECT_EQ(mode, PLOT_PHASE);
    EXPECT_EQ(saveActive("spectrum.TXT"),
              batch({"fourier", "--channel", "1", "--from", "100", "--to", "1124"}, "b.TXT"));
    const FourierOptions& now = globalFourierOptions;
    EXPECT_TRUE(now.limited == chosen.limited && now.limit_frequency == chosen.limit_frequency &&
                now.plot_phase == chosen.plot_phase && now.line_plot == chosen.line_plot);

    // An inverse transform is a signal in time again: all of it, as a curve.
    EXPECT_EQ(recalculateInverse(w), PLOT_SIGNAL);
    EXPECT_EQ(w->view->sampleCount(), 1024);
    EXPECT_EQ(w->view->visible_samples, 1024);
    EXPECT_FALSE(w->view->line_plot);
}

// Two results of one block open a step apart, the second titled " (2)".
TEST_F(AnalysisWindowsTest, ResultsOfOneSourceOpenSteppedWithNumberedTitles) {
    CMeasureWnd* source = openSample(100, 612);
    ASSERT_NE(source, nullptr);
    auto* first = run<CFftWnd>(CMD_FOURIER);
    ASSERT_NE(first, nullptr);
    frame->mdiClient()->setActiveSubWindow(source->subWindow());
    auto* second = run<CFftWnd>(CMD_FOURIER);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    EXPECT_NE(second->subWindow()->pos(), first->subWindow()->pos());
    EXPECT_NE(second->subWindow()->pos(), source->subWindow()->pos());
    const QString title = QString(SAMPLE_FILE) + " - Fourier Analysis";
    EXPECT_EQ(first->title(), title);
    EXPECT_EQ(second->title(), title + " (2)");
    // A window keeps its number while its result is computed again.
    frame->frameCommand(CMD_ADD_SAMPLE, 0);
    waitIdle(second);
    EXPECT_EQ(second->title(), title + " (2)");
    EXPECT_EQ(first->title(), title);
}

TEST_F(AnalysisWindowsTest, FourierRefusesARangeOutsideTheSourceAndAMaximisedChildIsFollowed) {
    CMeasureWnd* source = openSample(4000, 4096);
    ASSERT_NE(source, nullptr);
    source->subWindow()->showMaximized();
    auto* w = run<CFftWnd>(CMD_FOURIER);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->subWindow()->isMaximized());
    // One past the last sample: refused with a message, the result kept.
    frame->frameCommand(CMD_ADD_SAMPLE, 0);
    EXPECT_EQ(w->fft()->range.to, 4096);
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].contains("4097"))
        << dialogScript::messages()[0].toStdString();
    EXPECT_EQ(w->measure->sampleCount, 96);

    // A run dialog cannot take a range past the source either.
    int before = frame->children().size();
    bool stayedOpen = false;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        d.setText(IDC_RUN_TO, "5000");
        d.press(IDOK);
        stayedOpen = !d.ended();
    });
    frame->frameCommand(CMD_FOURIER, 0); // from the result window: its 96 bins
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(frame->children().size(), before);
}

TEST_F(AnalysisWindowsTest, KalmanWindowEqualsTheBatchRunAndRecalculatesWithChangedComponents) {
    CMeasureWnd* source = openSample(0, 3000);
    ASSERT_NE(source, nullptr);
    SignalParameters& list = source->measure->signalParameters[1];
    appendComponent(list, wave("first", 0.625, 0.04));
    appendComponent(list, wave("second", 1.25, 0.005));
    writeText(dir.file("comp.txt"), componentListText({1, 0, 3000}, list));

    auto* w = run<CKalmanWnd>(CMD_KALMAN);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowClass(), "KelvoKalmanClass");
    EXPECT_EQ(w->measure->channelCount, 5);
    EXPECT_STREQ(w->measure->channels[1].name, "first diff");
    // Derivative channels show only their headers after the run.
    EXPECT_EQ(w->view->expanded[0], 1);
    EXPECT_EQ(w->view->expanded[1], 0);
    EXPECT_EQ(w->view->expanded[3], 0);
    EXPECT_EQ(w->view->expanded[4], 1);
    const std::string desktop = saveActive("kalman.TXT");
    std::vector<std::string> args = {
        "kalman",       "--channel",         "1", "--from", "0", "--to", "3000",
        "--components", dir.file("comp.txt")};
    EXPECT_EQ(desktop, batch(args, "k.TXT"));
    // The estimates went back into the source's list.
    EXPECT_NE(list.components[0].amplitude, 0.04);

    // Recalculate without the second component.
    dialogScript::pushDialog([](ScriptedDialog& d) {
        d.selectRow(IDC_COMPONENT_LIST, 1);
        d.press(IDC_COMPONENT_DELETE);
        d.press(IDOK);
    });
    frame->frameCommand(CMD_RECALCULATE, 0);
    waitIdle(w);
    EXPECT_EQ(list.componentCount, 1);
    EXPECT_EQ(w->measure->channelCount, 3);
    EXPECT_EQ(w->measure->sampleCount, 3000);
}

TEST_F(AnalysisWindowsTest, ApproximationWindowEqualsTheBatchFit) {
    CMeasureWnd* source = openSample(0, 3000);
    ASSERT_NE(source, nullptr);
    SignalParameters& list = source->measure->signalParameters[1];
    appendComponent(list, wave("main", 0.62, 0.04));
    writeText(dir.file("comp.txt"), componentListText({1, 0, 3000}, list));
    auto* w = run<CAproxWnd>(CMD_APPROXIMATION);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->title(), QString(SAMPLE_FILE) + " - Approximation");
    EXPECT_EQ(w->measure->channelCount, 2);
    const std::string desktop = saveActive("fit.TXT");
    std::vector<std::string> args = {
        "aprox",        "--channel",         "1", "--from", "0", "--to", "3000",
        "--components", dir.file("comp.txt")};
    EXPECT_EQ(desktop, batch(args, "a.TXT"));
    EXPECT_NEAR(list.components[0].frequency, 0.625, 0.01); // the sample's wave: T = 1.6 s
}

TEST_F(AnalysisWindowsTest, GeneratorWindowEqualsTheBatchSignalAndRecalculatesItsOwnCopy) {
    int32_t before = globalGeneratorParameters.czas_ustalony;
    dialogScript::pushDialog([](ScriptedDialog& d) {
        d.selectItem(IDC_GENERATOR_MODEL, 2);
        d.setText(IDC_GENERATOR_STEADY, "10");
        d.press(IDOK);
    });
    frame->frameCommand(CMD_GENERATE, 0);
    auto* w = dynamic_cast<CGeneratorWnd*>(frame->activeChild());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->title(), "Generated");
    EXPECT_EQ(globalGeneratorParameters.czas_ustalony, 10); // the dialog edited the globals
    CommandResult r =
        runBatch({"generate", "--model", "2", "--waves", "5,10,5", "-o", dir.file("g.TXT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(saveActive("gen.TXT"), fileText(dir.file("g.TXT")));

    // Recalculate edits this window's copy only.
    dialogScript::pushDialog([](ScriptedDialog& d) {
        d.setText(IDC_GENERATOR_STEADY, "1");
        d.press(IDOK);
    });
    int32_t longer = w->measure->sampleCount;
    frame->frameCommand(CMD_RECALCULATE, 0);
    EXPECT_LT(w->measure->sampleCount, longer);
    EXPECT_EQ(globalGeneratorParameters.czas_ustalony, 10);
    (void)before;
}

// A Kalman run of two million samples takes seconds: closing its window, or
// its source, in the middle stops the worker at once.
class AnalysisWindowsThreadTest : public AnalysisWindowsTest {
  protected:
    // A long record with ten components, and a Kalman window computing it.
    CKalmanWnd* startLongRun(CMeasureWnd*& source) {
        const int n = SAMPLES;
        CMeasure* record = makeMeasure(1, n, 50.0, "/data/long.INT");
        for (int j = 0; j < n; ++j)
            record->setSample(
                0, j,
                Sample{float(0.04 * std::sin(2 * 3.141592653589793 * 0.625 * j / 50.0)), 0.0f});
        for (int k = 0; k < 10; ++k)
            appendComponent(record->signalParameters[0], wave("w", 0.1 + 0.1 * k, 0.01));
        source = openMeasureWindow(*frame, record);
        source->view->SetBlock(0, 0, n);
        globalKalmanOptions.model = 2;
        dialogScript::pushDialog([](ScriptedDialog& d) { d.press(IDOK); });
        frame->frameCommand(CMD_KALMAN, 0);
        return dynamic_cast<CKalmanWnd*>(frame->activeChild());
    }
    static constexpr int SAMPLES = 2000000;
};

TEST_F(AnalysisWindowsThreadTest, ClosingTheSourceDuringARunLeavesAClosedResult) {
    CMeasureWnd* source = nullptr;
    CKalmanWnd* w = startLongRun(source);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->running());
    // The progress bar shows while it runs.
    QProgressBar* bar = w->hwnd->findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->maximum(), SAMPLES);

    source->subWindow()->close();
    settle();
    EXPECT_FALSE(w->running());
    EXPECT_EQ(w->title(), "Closed - Kalman Analysis");
    EXPECT_LT(w->measure->sampleCount, SAMPLES); // the rows done so far stay
    EXPECT_TRUE(bar->isHidden());
    // Recalculate does nothing without a source.
    int opened = 0;
    dialogScript::pushDialog([&](ScriptedDialog&) { ++opened; });
    w->OnCommand(CMD_RECALCULATE, 0);
    EXPECT_EQ(opened, 0);
}

TEST_F(AnalysisWindowsThreadTest, ClosingTheResultDuringARunStopsItsWorker) {
    CMeasureWnd* source = nullptr;
    CKalmanWnd* w = startLongRun(source);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->running());
    QElapsedTimer clock;
    clock.start();
    w->subWindow()->close();
    settle();
    EXPECT_LT(clock.elapsed(), 5000); // far less than the run would take
    EXPECT_EQ(frame->children().size(), 1);
    // The source keeps its samples and can be analysed again.
    EXPECT_EQ(source->measure->sampleCount, SAMPLES);
}

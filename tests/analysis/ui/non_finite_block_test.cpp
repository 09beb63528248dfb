// The desktop's analyses of a block holding NaN or infinity: each refuses it
// with the first bad row and channel, before any window opens; the reader
// still opens the file.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "frame_test_support.h"
#include "measure/int_format.h"
#include "shell/dialog_templates.h"
#include "support/temp_dir.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"
#include "waves/ui/wave_dialog_templates.h"

namespace {

// Three channels at 20 Hz of a 1 Hz wave; channel 1 holds a NaN at row 700.
std::string writeDamaged(const TempDir& dir) {
    CMeasure* m = makeMeasure(3, 2000, 20.0);
    for (int j = 0; j < 2000; ++j)
        for (int c = 0; c < 3; ++c)
            m->setSample(c, j, Sample{float(std::sin(0.1 * 3.141592653589793 * j - c)), 0.0f});
    m->setSample(1, 700, Sample{std::nanf(""), 0.0f});
    std::string path = dir.file("damaged.INT");
    bool written = writeInt(*m, path.c_str());
    delete m;
    return written ? path : "";
}

} // namespace

class NonFiniteBlockTest : public FrameTest {
  protected:
    // The damaged file opened, rows 0..1000 of channel 1 selected.
    CMeasureWnd* openDamaged() {
        const std::string path = writeDamaged(dir);
        if (path.empty()) return nullptr;
        dialogScript::pushFile(QString::fromStdString(path), 1);
        frame->frameCommand(CMD_OPEN, 0);
        settle();
        auto* window = dynamic_cast<CMeasureWnd*>(frame->activeChild());
        if (!window) return nullptr;
        window->view->SetBlock(1, 0, 1000);
        // Kalman and the fit need a component to get as far as the samples;
        // an .INT keeps no component lists.
        SignalComponent wave{};
        copyField(wave.name, sizeof wave.name, "wave");
        wave.frequency = 1.0;
        wave.amplitude = 1.0;
        wave.k = 1.0;
        appendComponent(window->measure->signalParameters[1], wave);
        return window;
    }
    TempDir dir;
    const std::string reason = "row 700 of channel 1 is not a finite number";
};

TEST_F(NonFiniteBlockTest, AnalysisMenuRunsAndStatisticRefuseWithAMessage) {
    CMeasureWnd* source = openDamaged();
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(std::isnan(source->measure->value(1, 700)));
    const int windows = frame->children().size();
    for (int command : {CMD_FOURIER, CMD_KALMAN, CMD_APPROXIMATION, CMD_STATISTIC}) {
        const int messages = dialogScript::messages().size();
        // Statistic computes first and shows its dialog only with the result.
        if (command != CMD_STATISTIC)
            dialogScript::pushDialog([](ScriptedDialog& d) { d.press(IDOK); });
        frame->frameCommand(command, 0);
        settle();
        ASSERT_EQ(dialogScript::messages().size(), messages + 1) << command;
        const std::string said = dialogScript::messages().back().toStdString();
        EXPECT_NE(said.find(reason), std::string::npos) << said;
        EXPECT_EQ(frame->children().size(), windows) << command;
        EXPECT_EQ(frame->activeChild(), source) << command;
    }
}

TEST_F(NonFiniteBlockTest, WaveRunDialogsKeepTheReasonAndOpenNoWindow) {
    ASSERT_NE(openDamaged(), nullptr);
    const int windows = frame->children().size();
    for (int command : {CMD_WAVE_STATISTICS, CMD_SPECTRUM, CMD_REFLECTION}) {
        bool ended = true;
        std::string hint;
        dialogScript::pushDialog([&](ScriptedDialog& d) {
            if (command == CMD_REFLECTION) {
                d.setText(IDC_WAVE_GAUGES, "0,1");
                d.setText(IDC_WAVE_POSITIONS, "0,0.4");
                d.setText(IDC_WAVE_DEPTH, "0.5");
            }
            d.press(IDOK);
            ended = d.ended();
            hint = d.hint().toStdString();
        });
        frame->frameCommand(command, 0);
        settle();
        EXPECT_FALSE(ended) << command;
        EXPECT_NE(hint.find(reason), std::string::npos) << hint;
        EXPECT_EQ(frame->children().size(), windows) << command;
    }
}

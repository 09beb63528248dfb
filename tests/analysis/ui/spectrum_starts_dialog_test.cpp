// "From spectrum" in the Kalman and approximation run dialogs: the list
// becomes the peaks of the typed block, OK keeps it, and a refused K or a
// block too short changes nothing.
#include <gtest/gtest.h>

#include <QTableWidget>

#include <cmath>
#include <cstring>

#include "aprox/aprox_options.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "frame_test_support.h"
#include "kalman/kalman_options.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "shell/settings.h"
#include "view/ui/component_list.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"
#include "waves/ui/spectrum_start_controls.h"

class SpectrumStartsDialogTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        globalKalmanOptions = KalmanOptions{};
        globalAproxOptions = AproxOptions{};
        // Channel 1: 0.5 Hz of amplitude 2 and 1.5 Hz of 0.5 over 60 s at 50 Hz;
        // its list holds four components typed earlier.
        CMeasure* m = makeMeasure(2, 3000, 50.0);
        for (int j = 0; j < 3000; ++j) {
            const double t = j / 50.0;
            m->setSample(
                1, j, Sample{float(2 * std::cos(M_PI * t) + 0.5 * std::sin(3 * M_PI * t)), 0.0f});
        }
        for (int i = 0; i < 4; ++i)
            appendComponent(m->signalParameters[1], wave("typed", 0.1 * (i + 1), 1.0));
        window = openMeasureWindow(*frame, m);
        list = &window->measure->signalParameters[1];
        window->view->SetBlock(1, 0, 3000);
    }
    void run(int command, const dialogScript::DialogStep& step) {
        dialogScript::pushDialog(step);
        frame->frameCommand(command, 0);
    }
    static int rows(const ScriptedDialog& d) {
        return qobject_cast<QTableWidget*>(d.control(IDC_COMPONENT_LIST))->rowCount();
    }
    CMeasureWnd* window = nullptr;
    SignalParameters* list = nullptr;
};

TEST_F(SpectrumStartsDialogTest, KalmanListBecomesTheTwoPeaksAndOkKeepsIt) {
    int shownRows = 0, rowsOfThree = 0;
    QString hintOfThree;
    bool threeInRed = true;
    run(CMD_KALMAN, [&](ScriptedDialog& d) {
        EXPECT_EQ(d.text(IDC_SPECTRUM_START_COUNT), "3");
        d.press(IDC_SPECTRUM_STARTS); // two waves make two peaks, and it says so
        rowsOfThree = rows(d);
        hintOfThree = d.hint();
        threeInRed = d.hintLooksRefused();
        d.setText(IDC_SPECTRUM_START_COUNT, "2");
        d.press(IDC_SPECTRUM_STARTS);
        shownRows = rows(d); // two peaks and "New component"
        d.press(IDCANCEL);
    });
    EXPECT_EQ(rowsOfThree, 3);
    EXPECT_TRUE(hintOfThree.startsWith("Only 2 of 3 peaks")) << hintOfThree.toStdString();
    EXPECT_FALSE(threeInRed) << "fewer peaks is an answer, not a refusal";
    EXPECT_EQ(shownRows, 3);
    EXPECT_EQ(list->componentCount, 4); // Cancel keeps the list

    run(CMD_KALMAN, [&](ScriptedDialog& d) {
        d.setText(IDC_SPECTRUM_START_COUNT, "2");
        d.press(IDC_SPECTRUM_STARTS);
        d.press(IDOK);
    });
    ASSERT_EQ(list->componentCount, 2);
    // On the bins (1/60 Hz apart) of both waves; amplitude from each peak's energy.
    EXPECT_NEAR(list->components[0].frequency, 0.5, 1e-9);
    EXPECT_NEAR(list->components[1].frequency, 1.5, 1e-9);
    EXPECT_NEAR(list->components[0].amplitude, 2.0, 0.05);
    EXPECT_NEAR(list->components[1].amplitude, 0.5, 0.05);
    EXPECT_STREQ(list->components[1].name, "Peak 2");
}

TEST_F(SpectrumStartsDialogTest, AproxTakesTheTypedBlockAndRefusalsChangeNothing) {
    QString countHint, blockHint;
    int rowsAfterRefusals = 0;
    run(CMD_APPROXIMATION, [&](ScriptedDialog& d) {
        d.setText(IDC_SPECTRUM_START_COUNT, "11");
        d.press(IDC_SPECTRUM_STARTS);
        countHint = d.hint();
        d.setText(IDC_SPECTRUM_START_COUNT, "1");
        d.setText(1050, "10"); // From .. To: five samples
        d.setText(244, "15");
        d.press(IDC_SPECTRUM_STARTS);
        blockHint = d.hint();
        rowsAfterRefusals = rows(d);
        d.setText(244, "3000");
        d.press(IDC_SPECTRUM_STARTS);
        d.press(IDOK);
    });
    EXPECT_FALSE(countHint.isEmpty());
    EXPECT_TRUE(blockHint.startsWith("No start components: ")) << blockHint.toStdString();
    EXPECT_EQ(rowsAfterRefusals, 5);
    ASSERT_EQ(list->componentCount, 1);
    // 2990 samples: 0.5 Hz lies between bins, where the view's block of 3000
    // would have found it exactly.
    EXPECT_NEAR(list->components[0].frequency, 0.5, 0.1 * 50.0 / 2990);
    EXPECT_NE(list->components[0].frequency, 0.5);
}

// The Options menu's three dialogs, played through the frame: what they show,
// what OK writes to the process-wide records and, after a save and a new
// load, to the settings; what Cancel and a refused field leave.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>

#include "analysis/fourier_options.h"
#include "analysis/ui/analysis_dialog_templates.h"
#include "aprox/aprox_options.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "frame_test_support.h"
#include "kalman/kalman_options.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "shell/settings.h"

class OptionDialogsTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        globalFourierOptions = FourierOptions{};
        globalKalmanOptions = KalmanOptions{};
        globalAproxOptions = AproxOptions{};
    }
    void TearDown() override {
        globalFourierOptions = FourierOptions{};
        globalKalmanOptions = KalmanOptions{};
        globalAproxOptions = AproxOptions{};
        FrameTest::TearDown();
    }
    // Plays the dialog of `command` with `step`.
    void run(int command, const dialogScript::DialogStep& step) {
        dialogScript::pushDialog(step);
        frame->frameCommand(command, 0);
    }
};

TEST_F(OptionDialogsTest, FourierOptionsShowTheRecordAndOkWithoutEditsKeepsIt) {
    globalFourierOptions.limited = 1;
    globalFourierOptions.tune_frequency = 12.5;
    globalFourierOptions.line_plot = 1;
    FourierOptions before = globalFourierOptions;
    QString shownTune;
    bool limitChecked = false;
    run(CMD_FOURIER_OPTIONS, [&](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Fourier Options");
        shownTune = d.text(IDC_FOURIER_TUNE_FREQUENCY);
        limitChecked = d.text(IDC_FOURIER_LIMITED) == "Limit DFT" &&
                       qobject_cast<QAbstractButton*>(d.control(IDC_FOURIER_LIMITED))->isChecked();
        d.press(IDOK);
    });
    EXPECT_EQ(shownTune, "12.500000"); // "%8.6f"
    EXPECT_TRUE(limitChecked);
    EXPECT_EQ(globalFourierOptions.limited, before.limited);
    EXPECT_EQ(globalFourierOptions.tune_frequency, before.tune_frequency);
    EXPECT_EQ(globalFourierOptions.line_plot, before.line_plot);
    EXPECT_EQ(globalFourierOptions.plot_phase, before.plot_phase);
    EXPECT_EQ(globalFourierOptions.inverse, before.inverse);
}

// The dialog takes up to 999999 Hz; loading clamps to 99999.9, so a value
// above that comes back clamped after a save and a new start.
TEST_F(OptionDialogsTest, FourierOptionsOkReachesTheSettingsFileClampedOnTheNextLoad) {
    run(CMD_FOURIER_OPTIONS, [&](ScriptedDialog& d) {
        d.setChecked(IDC_FOURIER_TUNED, true);
        d.setText(IDC_FOURIER_TUNE_FREQUENCY, "500000");
        d.setText(IDC_FOURIER_LIMIT_FREQUENCY, "20");
        d.press(IDOK);
    });
    EXPECT_EQ(globalFourierOptions.tuned, 1);
    EXPECT_EQ(globalFourierOptions.tune_frequency, 500000.0);
    EXPECT_EQ(globalFourierOptions.limit_frequency, 20.0);
    ASSERT_TRUE(saveSettings());
    globalFourierOptions = FourierOptions{};
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(globalFourierOptions.tuned, 1);
    EXPECT_DOUBLE_EQ(globalFourierOptions.tune_frequency, 99999.9);
    EXPECT_EQ(globalFourierOptions.limit_frequency, 20.0);
}

// Out of range, not a number, or cancelled after edits: the record stays.
TEST_F(OptionDialogsTest, RefusedFieldsAndCancelLeaveTheRecords) {
    struct Case {
        int command;
        int field;
        const char* text;
    } cases[] = {
        {CMD_FOURIER_OPTIONS, IDC_FOURIER_TUNE_FREQUENCY, "1000000"},
        {CMD_FOURIER_OPTIONS, IDC_FOURIER_LIMIT_FREQUENCY, "-1"},
        {CMD_KALMAN_OPTIONS, IDC_KALMAN_OBSERVATION_ERROR, "100.5"},
        {CMD_KALMAN_OPTIONS, IDC_KALMAN_ASYMPTOTIC, "fast"},
        {CMD_APROX_OPTIONS, IDC_APROX_ZERO, "1e-14x"},
        {CMD_APROX_OPTIONS, IDC_APROX_EPSILON, ""},
    };
    for (const Case& c : cases) {
        bool open = false;
        int focus = 0;
        QString hint;
        run(c.command, [&](ScriptedDialog& d) {
            d.setText(c.field, c.text);
            d.press(IDOK);
            open = !d.ended();
            focus = d.focusedControl();
            hint = d.hint();
        });
        EXPECT_TRUE(open) << c.text;
        EXPECT_EQ(focus, c.field) << c.text;
        EXPECT_TRUE(hint.startsWith("Enter a number")) << hint.toStdString();
    }
    run(CMD_KALMAN_OPTIONS, [&](ScriptedDialog& d) {
        d.selectItem(IDC_KALMAN_MODEL, 0);
        d.setText(IDC_KALMAN_CONSTANT_PERIOD, "9.5");
        d.press(IDCANCEL);
    });
    const FourierOptions fourier{};
    const KalmanOptions kalman{};
    const AproxOptions aprox{};
    EXPECT_EQ(globalFourierOptions.tune_frequency, fourier.tune_frequency);
    EXPECT_EQ(globalFourierOptions.limit_frequency, fourier.limit_frequency);
    EXPECT_EQ(globalKalmanOptions.observation_error, kalman.observation_error);
    EXPECT_EQ(globalKalmanOptions.asymptotic, kalman.asymptotic);
    EXPECT_EQ(globalKalmanOptions.model, kalman.model);
    EXPECT_EQ(globalKalmanOptions.constant_period, kalman.constant_period);
    EXPECT_EQ(globalAproxOptions.zero, aprox.zero);
    EXPECT_EQ(globalAproxOptions.epsilon, aprox.epsilon);
}

TEST_F(OptionDialogsTest, KalmanOptionsShowTheirFormatsAndWriteModelAndValues) {
    QString error, asymptotic, period, model;
    int models = 0;
    run(CMD_KALMAN_OPTIONS, [&](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Kalman Filter Options");
        error = d.text(IDC_KALMAN_OBSERVATION_ERROR);
        asymptotic = d.text(IDC_KALMAN_ASYMPTOTIC);
        period = d.text(IDC_KALMAN_CONSTANT_PERIOD);
        model = d.text(IDC_KALMAN_MODEL);
        models = qobject_cast<QComboBox*>(d.control(IDC_KALMAN_MODEL))->count();
        d.selectItem(IDC_KALMAN_MODEL, 1);
        d.setChecked(IDC_KALMAN_ESTIMATE_ERROR, false);
        d.setText(IDC_KALMAN_OBSERVATION_ERROR, "100");
        d.press(IDOK);
    });
    EXPECT_EQ(error, "5.0");            // "%3.1f"
    EXPECT_EQ(asymptotic, "0.0000100"); // "%9.7f"
    EXPECT_EQ(period, "5.0");
    EXPECT_EQ(model, "Quick twice differentiable");
    EXPECT_EQ(models, 4);
    EXPECT_EQ(globalKalmanOptions.model, 1);
    EXPECT_EQ(globalKalmanOptions.estimate_error, 0);
    EXPECT_EQ(globalKalmanOptions.observation_error, 100.0);
    // Loading clamps the observation error to 99.9.
    ASSERT_TRUE(saveSettings());
    ASSERT_TRUE(loadSettings());
    EXPECT_DOUBLE_EQ(globalKalmanOptions.observation_error, 99.9);
    EXPECT_EQ(globalKalmanOptions.model, 1);
}

TEST_F(OptionDialogsTest, AproxOptionsShowTenSignificantDigits) {
    globalAproxOptions.break_limit = 2.0 / 3.0;
    QString epsilon, brk, zero;
    run(CMD_APROX_OPTIONS, [&](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Approximation Options");
        epsilon = d.text(IDC_APROX_EPSILON);
        brk = d.text(IDC_APROX_BREAK);
        zero = d.text(IDC_APROX_ZERO);
        d.setText(IDC_APROX_EPSILON, "0.25");
        d.press(IDOK);
    });
    EXPECT_EQ(epsilon, "0.001");
    EXPECT_EQ(brk, "0.6666666667");
    EXPECT_EQ(zero, "1e-14");
    EXPECT_EQ(globalAproxOptions.epsilon, 0.25);
    EXPECT_EQ(globalAproxOptions.zero, 1e-14);
    EXPECT_EQ(globalAproxOptions.use_ad, 0); // not in this dialog, carried through
}

// The run dialogs of the Kalman analysis, the approximation and the generator:
// their lists, "Copy all" texts, enabling rules, and what Cancel and a refused
// field leave. The expected texts are written out by hand.
#include <gtest/gtest.h>

#include <QTableWidget>

#include <cstring>

#include "aprox/aprox_options.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "frame_test_support.h"
#include "generator/generator_parameters.h"
#include "generator/ui/generator_dialog_templates.h"
#include "kalman/kalman_options.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "shell/settings.h"
#include "view/ui/component_list.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

QStringList row(const ScriptedDialog& d, int r) {
    auto* list = qobject_cast<QTableWidget*>(d.control(IDC_COMPONENT_LIST));
    QStringList texts;
    for (int c = 0; c < list->columnCount(); ++c)
        texts << (list->item(r, c) ? list->item(r, c)->text() : QString());
    return texts;
}

} // namespace

class RunDialogsTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        globalKalmanOptions = KalmanOptions{};
        globalAproxOptions = AproxOptions{};
        globalGeneratorParameters = GeneratorParameters{};
        window = openMeasureWindow(*frame, makeMeasure(2, 3000, 50.0));
        list = &window->measure->signalParameters[1];
        SignalComponent c{};
        copyField(c.name, sizeof c.name, "main");
        c.frequency = 0.625;
        c.amplitude = 0.04;
        c.k = 1;
        c.a = 0.5;
        c.d = -0.25;
        appendComponent(*list, c);
        window->view->SetBlock(1, 0, 3000);
        clip = {};
        setClipboard(&clip);
    }
    void TearDown() override {
        setClipboard(nullptr);
        globalKalmanOptions = KalmanOptions{};
        globalAproxOptions = AproxOptions{};
        globalGeneratorParameters = GeneratorParameters{};
        FrameTest::TearDown();
    }
    void run(int command, const dialogScript::DialogStep& step) {
        dialogScript::pushDialog(step);
        frame->frameCommand(command, 0);
    }
    CMeasureWnd* window = nullptr;
    SignalParameters* list = nullptr;
    RecordingClipboard clip;
};

// Copy all takes the list as edited, but the range and options as opened.
TEST_F(RunDialogsTest, KalmanCopyAllAndCancelLeaveTheRecords) {
    QStringList shown;
    run(CMD_KALMAN, [&](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Kalman Filter");
        shown = row(d, 0);
        d.setText(1050, "10");
        d.setText(IDC_KALMAN_RUN_ERROR, "7.5");
        dialogScript::pushDialog([](ScriptedDialog& e) {
            EXPECT_EQ(e.title(), "Channel configuration");
            e.setText(IDC_KALMAN_COMPONENT_FREQUENCY, "1.25");
            e.press(IDOK);
        });
        d.selectRow(IDC_COMPONENT_LIST, 1); // "New component": Insert appends
        d.press(IDC_COMPONENT_INSERT);
        d.press(IDC_KALMAN_COPY_ALL);
        d.press(IDCANCEL);
    });
    EXPECT_EQ(shown, QStringList({"main", "0.625000", "0.040000", "1.00"}));
    EXPECT_EQ(clip.text, "1\t0\t3000\t2\r\n"
                         "0.625000\t0.040000\t1.000000\r\n"
                         "1.250000\t1.000000\t5.000000\r\n"
                         "5.00\t0\t3\r\n");
    EXPECT_EQ(list->componentCount, 1);
    EXPECT_EQ(globalKalmanOptions.observation_error, 5.0);
    EXPECT_EQ(frame->children().size(), 1); // no result window
}

TEST_F(RunDialogsTest, AproxListNamesNewComponentsByRowAndCopiesAsAssignments) {
    QStringList inserted;
    run(CMD_APPROXIMATION, [&](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Approximation");
        dialogScript::pushDialog([](ScriptedDialog& e) {
            EXPECT_EQ(e.text(IDC_APROX_COMPONENT_A), "0.0000");
            e.setText(IDC_APROX_COMPONENT_FREQUENCY, "1.3");
            e.setText(IDC_APROX_COMPONENT_D, "0.125");
            e.press(IDOK);
        });
        d.selectRow(IDC_COMPONENT_LIST, 1);
        d.press(IDC_COMPONENT_EDIT); // on "New component": an insert at the end
        inserted = row(d, 1);
        d.press(IDC_APROX_COPY_ALL);
        d.press(IDCANCEL);
    });
    EXPECT_EQ(inserted, QStringList({"Component no 2", "1.3000", "0.0000", "0.1250", "0.0000"}));
    EXPECT_EQ(clip.text,
              "FRS1=[0.6250;1.3000]\r\nAS11=0.5000-i*0.2500;\r\nAS12=0.0000+i*0.1250;\r\n");
    EXPECT_EQ(list->componentCount, 1);
}

TEST_F(RunDialogsTest, GeneratorFieldsFollowTheModelAndRefuseWhatCannotBeSynthesised) {
    bool xa = true, c1 = false, fio = true;
    QString hint;
    bool openOnDepth = false, openOnText = false;
    run(CMD_GENERATE, [&](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Kalman Models");
        EXPECT_TRUE(d.control(IDC_GENERATOR_FIO)->isEnabled()); // all enabled at first
        d.selectItem(IDC_GENERATOR_MODEL, 5);                   // "Stokes"
        xa = d.control(IDC_GENERATOR_XA)->isEnabled();
        c1 = d.control(IDC_GENERATOR_C2)->isEnabled();
        fio = d.control(IDC_GENERATOR_NW)->isEnabled();
        d.press(IDC_GENERATOR_COPY_ALL);
        d.setText(IDC_GENERATOR_TIME_STEP, "fast");
        d.press(IDOK);
        openOnText = !d.ended();
        d.setText(IDC_GENERATOR_TIME_STEP, "0.02");
        d.setText(IDC_GENERATOR_DEPTH, "0");
        d.press(IDOK);
        openOnDepth = !d.ended();
        hint = d.hint();
        d.press(IDCANCEL);
    });
    EXPECT_FALSE(xa);
    EXPECT_TRUE(c1);
    EXPECT_FALSE(fio);
    EXPECT_EQ(clip.text, "5\t5\t5\r\n");
    EXPECT_TRUE(openOnText);
    EXPECT_TRUE(openOnDepth);
    EXPECT_FALSE(hint.isEmpty());
    EXPECT_EQ(globalGeneratorParameters.wysokosc_wody, 0.6);
    EXPECT_EQ(frame->children().size(), 1); // no generator window
}

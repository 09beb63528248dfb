// F6 (Kalman) and F7 (approximation) on a channel without wave components.
#include <gtest/gtest.h>

#include "frame_test_support.h"
#include "shell/dialog_templates.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

using RunWithoutComponentsTest = FrameTest;

// F6 and F7 on a channel without wave components say why nothing runs and
// where the components are added; no dialog, no window.
TEST_F(RunWithoutComponentsTest, KalmanAndApproximationWithoutComponentsSayWhy) {
    CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(3, 100));
    settle();
    w->view->SetBlock(2, 0, 100);
    int dialogs = 0;
    for (int command : {CMD_KALMAN, CMD_APPROXIMATION}) {
        dialogScript::pushDialog([&](ScriptedDialog& d) {
            ++dialogs;
            d.press(IDCANCEL);
        });
        frame->frameCommand(command, 0);
        settle();
    }
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(frame->children().size(), 1);
    ASSERT_EQ(dialogScript::messages().size(), 2);
    for (const QString& text : dialogScript::messages()) {
        EXPECT_TRUE(text.startsWith("Channel 2 (gauge) has no wave components"))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("Edit → Block info..."))) << text.toStdString();
    }
    EXPECT_TRUE(dialogScript::messages()[0].contains("Kalman"));
    EXPECT_TRUE(dialogScript::messages()[1].contains("approximation"));
    // With a component, the run dialog opens.
    appendComponent(w->measure->signalParameters[2], wave("first", 0.5, 100.0));
    frame->frameCommand(CMD_KALMAN, 0);
    EXPECT_EQ(dialogs, 1);
}

// F6 (Kalman) and F7 (approximation) on a channel without wave components:
// the run dialog opens so that "From spectrum" can fill the list; OK on an
// empty list stays open and says why, as a run would give only the rest.
#include <gtest/gtest.h>

#include <QMdiArea>

#include <cmath>

#include "frame_test_support.h"
#include "shell/dialog_templates.h"
#include "view/ui/component_list.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"
#include "waves/ui/spectrum_start_controls.h"

using RunWithoutComponentsTest = FrameTest;

TEST_F(RunWithoutComponentsTest, AnEmptyListIsRefusedInTheDialogAndFilledFromTheSpectrum) {
    // Channel 2: a 0.5 Hz wave over 60 s at 50 Hz, no components.
    CMeasure* m = makeMeasure(3, 3000, 50.0);
    for (int j = 0; j < 3000; ++j)
        m->setSample(2, j, Sample{float(std::cos(M_PI * j / 50.0)), 0.0f});
    CMeasureWnd* w = openMeasureWindow(*frame, m);
    settle();
    w->view->SetBlock(2, 0, 3000);
    for (int command : {CMD_KALMAN, CMD_APPROXIMATION}) {
        SCOPED_TRACE(command);
        QString hint;
        bool openOnEmpty = false;
        dialogScript::pushDialog([&](ScriptedDialog& d) {
            d.press(IDOK);
            openOnEmpty = !d.ended();
            hint = d.hint();
            d.setText(IDC_SPECTRUM_START_COUNT, "1");
            d.press(IDC_SPECTRUM_STARTS);
            d.press(IDOK);
        });
        const size_t windows = frame->children().size();
        frame->frameCommand(command, 0);
        settle();
        EXPECT_TRUE(openOnEmpty);
        EXPECT_TRUE(hint.contains("no wave component")) << hint.toStdString();
        EXPECT_TRUE(hint.contains("From spectrum")) << hint.toStdString();
        // The peak became the list, and the run opened its window.
        ASSERT_EQ(w->measure->signalParameters[2].componentCount, 1);
        EXPECT_NEAR(w->measure->signalParameters[2].components[0].frequency, 0.5, 1e-6);
        EXPECT_EQ(frame->children().size(), windows + 1);
        w->measure->signalParameters[2].componentCount = 0;
        frame->mdiClient()->setActiveSubWindow(w->subWindow());
        settle();
    }
    EXPECT_TRUE(dialogScript::messages().isEmpty());
}

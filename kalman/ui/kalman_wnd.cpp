#include "kalman/ui/kalman_wnd.h"

#include "kalman/ui/kalman_dialog_templates.h"
#include "kalman/ui/parametry_kalmana_dlg.h"
#include "shell/window_classes.h"
#include "view/ui/measure_view.h"

bool CKalmanWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(KALMAN_CLASS, QStringLiteral("Kalman Analysis"), parent, x, y, width, height,
                       style);
}

const char* CKalmanWnd::runProblem() const {
    return kalman()->RunProblem();
}

bool CKalmanWnd::runDialog() {
    CKalman* result = kalman();
    if (!result->source->hasChannel(result->range.channel)) return false;
    CParametryKalmanaDlg dialog(&result->source->signalParameters[result->range.channel],
                                &result->options, &result->range, *result->source);
    return showDialog(dialog, hwnd, DIALOG_KALMAN) == 1;
}

void CKalmanWnd::afterRun() {
    if (!view || !measure) return;
    // Channels 1, 3, ..., 2n-1 hold the derivatives; the last one is "Rest".
    for (int c = 1; c < measure->channelCount - 1 && c < MAX_CHANNELS; c += 2)
        view->expanded[c] = 0;
    view->Layout();
    view->hwnd->update();
}

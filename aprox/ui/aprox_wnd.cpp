#include "aprox/ui/aprox_wnd.h"

#include "aprox/ui/aprox_dialog_templates.h"
#include "aprox/ui/parametry_aproksymacji_dlg.h"
#include "shell/window_classes.h"

bool CAproxWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(KALMAN_CLASS, QStringLiteral("Aproximation Analysis"), parent, x, y, width,
                       height, style);
}

const char* CAproxWnd::runProblem() const {
    return aproxRefusal(aprox()->source, aprox()->range, aprox()->options);
}

bool CAproxWnd::runDialog() {
    CAprox* result = aprox();
    if (!result->source->hasChannel(result->range.channel)) return false;
    CParametryAproksymacjiDlg dialog(&result->source->signalParameters[result->range.channel],
                                     &result->options, &result->range, *result->source);
    return showDialog(dialog, hwnd, DIALOG_APROX) == 1;
}

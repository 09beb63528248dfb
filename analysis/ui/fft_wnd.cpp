#include "analysis/ui/fft_wnd.h"

#include "analysis/ui/analysis_dialog_templates.h"
#include "analysis/ui/parametry_fouriera_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/warning_message.h"
#include "shell/window_classes.h"
#include "view/ui/measure_view.h"

bool CFftWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(FOURIER_CLASS, QStringLiteral("Fourier Analysis"), parent, x, y, width,
                       height, style);
}

bool CFftWnd::runDialog() {
    CFft* result = fft();
    CParametryFourieraDlg dialog(&result->options, &result->range, *result->source);
    return showDialog(dialog, hwnd, DIALOG_FOURIER) == 1;
}

void CFftWnd::beforeRun() {
    if (!view) return;
    const FourierOptions& options = fft()->options;
    const bool spectrum = !options.inverse;
    // A spectrum's x axis is frequency; an inverse transform's is time again.
    view->x_unit = spectrum ? "Hz" : "s";
    // "Limit DFT", "Plot Phase" and "Line Plot" steer how a spectrum is drawn,
    // never what is computed.
    view->SetXLimit(spectrum && options.limited ? options.limit_frequency : -1.0);
    view->line_plot = spectrum && options.line_plot;
    view->setPlotMode(!spectrum ? PLOT_SIGNAL : options.plot_phase ? PLOT_PHASE : PLOT_MODULE);
}

void CFftWnd::changeLength(int step) {
    CFft* result = fft();
    if (!result || result->closed()) return;
    BlockRange longer = result->range;
    longer.to += step;
    // The range stays inside the source; the run goes on as it was.
    if (checkRange(result->source, longer) != RangeCheck::Ok) {
        showWarning(hwnd, QStringLiteral("The range cannot end at sample %1: the measurement "
                                         "holds samples 0 to %2.")
                              .arg(longer.to)
                              .arg(result->source->sampleCount));
        return;
    }
    result->StopWorker();
    if (view) view->Refresh();
    result->range = longer;
    start();
}

intptr_t CFftWnd::OnCommand(int id, intptr_t param) {
    if (id == CMD_ADD_SAMPLE) changeLength(+1);
    if (id == CMD_SUB_SAMPLE) changeLength(-1);
    return CResultWnd::OnCommand(id, param);
}

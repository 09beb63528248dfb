#include "analysis/ui/analysis_dialog_templates.h"

#include "shell/dialog_templates.h"

namespace {

DialogTemplate fourierTemplate() {
    DialogBuilder d(DIALOG_FOURIER, "Transformata Fouriera", 320, 220);
    d.labelEdit(12, 12, 80, "Channel", IDC_RUN_CHANNEL, 120)
        .labelEdit(12, 44, 80, "From", IDC_RUN_FROM, 120)
        .labelEdit(12, 76, 80, "To", IDC_RUN_TO, 120)
        .check(12, 110, IDC_FOURIER_INVERSE, "&Invers", 200)
        .check(12, 142, IDC_FOURIER_RUN_TUNED, "&Tunned for f=", 120)
        .control({IDC_FOURIER_RUN_TUNE, ControlKind::Edit, "", 136, 142, 110, FIELD_HEIGHT})
        .control({IDC_STATIC, ControlKind::Label, "Hz", 252, 144, 40, 20})
        .okCancel(70, 180);
    return d.result();
}

DialogTemplate fourierOptionsTemplate() {
    DialogBuilder d(DIALOG_FOURIER_OPTIONS, "Fourier Options", 300, 200);
    d.check(12, 12, IDC_FOURIER_TUNED, "Tunne DFT", 110)
        .labelEdit(130, 12, 60, "fr [Hz]", IDC_FOURIER_TUNE_FREQUENCY, 100)
        .check(12, 44, IDC_FOURIER_LIMITED, "Limit DFT", 110)
        .labelEdit(130, 44, 60, "fr [Hz]", IDC_FOURIER_LIMIT_FREQUENCY, 100)
        .check(12, 76, IDC_FOURIER_PLOT_PHASE, "Plot Phase", 200)
        .check(12, 108, IDC_FOURIER_LINE_PLOT, "Line Plot", 200)
        .okCancel(60, 156);
    return d.result();
}

} // namespace

void registerAnalysisDialogTemplates() {
    addDialogTemplate(fourierOptionsTemplate());
    addDialogTemplate(fourierTemplate());
}

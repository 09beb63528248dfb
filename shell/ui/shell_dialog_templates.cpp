#include "shell/ui/shell_dialog_templates.h"

#include "analysis/ui/analysis_dialog_templates.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "generator/ui/generator_dialog_templates.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "measure/ui/measure_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "view/ui/view_dialog_templates.h"
#include "waves/ui/wave_dialog_templates.h"

namespace {

DialogTemplate aboutTemplate() {
    DialogBuilder d(DIALOG_ABOUT, "About", 260, 150);
    d.control({IDC_STATIC, ControlKind::Icon, "", 16, 16, 32, 32})
        .control({IDC_STATIC, ControlKind::Label, "ONDARIX  ver. 3.2", 64, 16, 180, 18})
        .control({IDC_STATIC, ControlKind::Label, "Windows 95 version", 64, 38, 180, 18})
        .control({IDC_STATIC, ControlKind::Label, "Data Analysis", 64, 60, 180, 18})
        .button(90, 108, IDOK, "OK", true);
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

DialogTemplate kalmanOptionsTemplate() {
    DialogBuilder d(DIALOG_KALMAN_OPTIONS, "Kalman Filter Options", 380, 240);
    d.labelCombo(12, 12, 150, "Mathematical model", IDC_KALMAN_MODEL, 200)
        .check(12, 44, IDC_KALMAN_ESTIMATE_ERROR, "Estimate Observation Error", 300)
        .labelEdit(12, 76, 150, "Observation error (%)", IDC_KALMAN_OBSERVATION_ERROR, 100)
        .labelEdit(12, 108, 150, "Constant Period [s]", IDC_KALMAN_CONSTANT_PERIOD, 100)
        .labelEdit(12, 140, 150, "Asymptotic after", IDC_KALMAN_ASYMPTOTIC, 100)
        .okCancel(100, 196);
    return d.result();
}

DialogTemplate aproxOptionsTemplate() {
    DialogBuilder d(DIALOG_APROX_OPTIONS, "Approximation Options", 280, 170);
    d.labelEdit(12, 12, 80, "Epsilon", IDC_APROX_EPSILON, 160)
        .labelEdit(12, 44, 80, "Break if", IDC_APROX_BREAK, 160)
        .labelEdit(12, 76, 80, "Zero", IDC_APROX_ZERO, 160)
        .okCancel(50, 124);
    return d.result();
}

} // namespace

void registerShellDialogTemplates() {
    addDialogTemplate(aboutTemplate());
    addDialogTemplate(fourierOptionsTemplate());
    addDialogTemplate(kalmanOptionsTemplate());
    addDialogTemplate(aproxOptionsTemplate());
}

void registerDialogTemplates() {
    registerShellDialogTemplates();
    registerMeasureDialogTemplates();
    registerViewDialogTemplates();
    registerAnalysisDialogTemplates();
    registerKalmanDialogTemplates();
    registerAproxDialogTemplates();
    registerGeneratorDialogTemplates();
    registerWaveDialogTemplates();
}

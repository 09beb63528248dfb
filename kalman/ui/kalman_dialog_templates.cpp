#include "kalman/ui/kalman_dialog_templates.h"

#include "analysis/ui/analysis_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "view/ui/component_list.h"
#include "waves/ui/spectrum_start_controls.h"

namespace {

DialogTemplate kalmanTemplate() {
    DialogBuilder d(DIALOG_KALMAN, "Kalman Filter", 560, 420);
    addComponentListRows(d, 440);
    addSpectrumStartRows(d, 12 + 440 + 14, 176);
    d.labelEdit(12, 302, 170, "Observation error [%]", IDC_KALMAN_RUN_ERROR, 80)
        .check(290, 302, IDC_KALMAN_RUN_DAMP, "Use &damp", 150)
        .labelCombo(12, 336, 170, "Model:", IDC_KALMAN_RUN_MODEL, 220)
        .button(12, 378, IDC_KALMAN_COPY_ALL, "Copy all")
        .okCancel(290, 378);
    return d.result();
}

DialogTemplate componentTemplate() {
    DialogBuilder d(DIALOG_KALMAN_COMPONENT, "Channel configuration", 360, 180);
    d.labelEdit(12, 12, 100, "Name:", IDC_KALMAN_COMPONENT_NAME, 236)
        .labelEdit(12, 44, 100, "Frequency:", IDC_KALMAN_COMPONENT_FREQUENCY, 120)
        .labelEdit(12, 76, 100, "Amplitude:", IDC_KALMAN_COMPONENT_AMPLITUDE, 120)
        .labelEdit(12, 108, 100, "K:", IDC_KALMAN_COMPONENT_K, 120)
        .okCancel(100, 142);
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

} // namespace

void registerKalmanDialogTemplates() {
    addDialogTemplate(kalmanOptionsTemplate());
    addDialogTemplate(kalmanTemplate());
    addDialogTemplate(componentTemplate());
}

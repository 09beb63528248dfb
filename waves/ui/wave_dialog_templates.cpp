#include "waves/ui/wave_dialog_templates.h"

#include "analysis/ui/analysis_dialog_templates.h"
#include "shell/dialog_templates.h"

namespace {

constexpr int LABEL = 150;
constexpr int FIELD = 130;

DialogTemplate waveStatisticsTemplate() {
    DialogBuilder d(DIALOG_WAVE_STATISTICS, "Wave statistics", 330, 326);
    d.labelEdit(12, 12, LABEL, "Channel", IDC_RUN_CHANNEL, FIELD)
        .labelEdit(12, 44, LABEL, "From", IDC_RUN_FROM, FIELD)
        .labelEdit(12, 76, LABEL, "To", IDC_RUN_TO, FIELD)
        .labelEdit(12, 108, LABEL, "Threshold H", IDC_WAVE_THRESHOLD, FIELD)
        .labelCombo(12, 140, LABEL, "Detrend", IDC_WAVE_DETREND, FIELD)
        .labelEdit(12, 172, LABEL, "Depth (0: deep)", IDC_WAVE_DEPTH, FIELD)
        .labelEdit(12, 204, LABEL, "Slope tan(a)", IDC_WAVE_SLOPE, FIELD)
        .check(12, 236, IDC_WAVE_UP, "Zero-&up-crossings", 300)
        .okCancel(75, 282);
    return d.result();
}

DialogTemplate spectrumTemplate() {
    DialogBuilder d(DIALOG_SPECTRUM, "Spectrum", 330, 294);
    d.labelEdit(12, 12, LABEL, "Channel", IDC_RUN_CHANNEL, FIELD)
        .labelEdit(12, 44, LABEL, "From", IDC_RUN_FROM, FIELD)
        .labelEdit(12, 76, LABEL, "To", IDC_RUN_TO, FIELD)
        .labelEdit(12, 108, LABEL, "Segment (0: auto)", IDC_WAVE_SEGMENT, FIELD)
        .labelEdit(12, 140, LABEL, "fmin [Hz] (0: auto)", IDC_WAVE_FMIN, FIELD)
        .labelEdit(12, 172, LABEL, "fmax [Hz] (0: auto)", IDC_WAVE_FMAX, FIELD)
        .labelCombo(12, 204, LABEL, "Detrend", IDC_WAVE_DETREND, FIELD)
        .okCancel(75, 250);
    return d.result();
}

DialogTemplate reflectionTemplate() {
    DialogBuilder d(DIALOG_REFLECTION, "Reflection", 330, 390);
    d.labelEdit(12, 12, LABEL, "Gauges (channels)", IDC_WAVE_GAUGES, FIELD)
        .labelEdit(12, 44, LABEL, "Positions [m]", IDC_WAVE_POSITIONS, FIELD)
        .labelEdit(12, 76, LABEL, "Depth [m]", IDC_WAVE_DEPTH, FIELD)
        .labelEdit(12, 108, LABEL, "From", IDC_RUN_FROM, FIELD)
        .labelEdit(12, 140, LABEL, "To", IDC_RUN_TO, FIELD)
        .labelEdit(12, 172, LABEL, "Segment (0: auto)", IDC_WAVE_SEGMENT, FIELD)
        .labelEdit(12, 204, LABEL, "fmin [Hz] (0: auto)", IDC_WAVE_FMIN, FIELD)
        .labelEdit(12, 236, LABEL, "fmax [Hz] (0: auto)", IDC_WAVE_FMAX, FIELD)
        .labelCombo(12, 268, LABEL, "Detrend", IDC_WAVE_DETREND, FIELD)
        .labelCombo(12, 300, LABEL, "Separation", IDC_WAVE_SEPARATION, FIELD)
        .okCancel(75, 346);
    return d.result();
}

} // namespace

void registerWaveDialogTemplates() {
    addDialogTemplate(waveStatisticsTemplate());
    addDialogTemplate(spectrumTemplate());
    addDialogTemplate(reflectionTemplate());
}

#include "sea/ui/sea_dialog_templates.h"

#include "shell/dialog_templates.h"

namespace {

constexpr int LABEL = 150;
constexpr int FIELD = 110;
constexpr int RIGHT = 300;

DialogTemplate irregularSeaTemplate() {
    DialogBuilder d(DIALOG_IRREGULAR_SEA, "Irregular Sea", 600, 488);
    d.labelCombo(12, 12, LABEL, "Spectrum:", IDC_SEA_SPECTRUM, 170)
        .labelEdit(12, 44, LABEL, "Table file:", IDC_SEA_TABLE, 330)
        .button(500, 42, IDC_SEA_BROWSE, "&Browse...")
        .labelEdit(12, 84, LABEL, "Hm0 [m]:", IDC_SEA_HM0, FIELD)
        .labelEdit(12, 116, LABEL, "Tp [s]:", IDC_SEA_TP, FIELD)
        .labelEdit(12, 148, LABEL, "Gamma:", IDC_SEA_GAMMA, FIELD)
        .labelEdit(12, 180, LABEL, "Depth [m]:", IDC_SEA_DEPTH, FIELD)
        .labelCombo(12, 212, LABEL, "Paddle:", IDC_SEA_PADDLE, FIELD)
        .labelEdit(12, 244, LABEL, "Hinge height [m]:", IDC_SEA_HINGE, FIELD)
        .labelEdit(12, 276, LABEL, "Largest stroke [m]:", IDC_SEA_MAX_STROKE, FIELD)
        .labelEdit(12, 308, LABEL, "Largest velocity [m/s]:", IDC_SEA_MAX_VELOCITY, FIELD)
        .labelEdit(RIGHT, 84, LABEL, "Duration [s]:", IDC_SEA_DURATION, FIELD)
        .labelEdit(RIGHT, 116, LABEL, "Time step [s]:", IDC_SEA_TIME_STEP, FIELD)
        .labelEdit(RIGHT, 148, LABEL, "Seed:", IDC_SEA_SEED, FIELD)
        .labelCombo(RIGHT, 180, LABEL, "Method:", IDC_SEA_METHOD, 140)
        .labelEdit(RIGHT, 212, LABEL, "Lowest frequency [Hz]:", IDC_SEA_FMIN, FIELD)
        .labelEdit(RIGHT, 244, LABEL, "Highest frequency [Hz]:", IDC_SEA_FMAX, FIELD)
        .labelEdit(RIGHT, 276, LABEL, "Ramps [s]:", IDC_SEA_RAMP, FIELD)
        .labelCombo(12, 352, LABEL, "Wave:", IDC_SEA_WAVE, 130)
        .labelEdit(12, 384, LABEL, "Focus distance [m]:", IDC_SEA_FOCUS_DISTANCE, FIELD)
        .labelEdit(12, 416, LABEL, "Solitary height [m]:", IDC_SEA_SOLITARY, FIELD)
        .labelEdit(RIGHT, 352, LABEL, "Focus time [s]:", IDC_SEA_FOCUS_TIME, FIELD)
        .labelEdit(RIGHT, 384, LABEL, "Crest at focus [m]:", IDC_SEA_CREST, FIELD)
        .labelEdit(RIGHT, 416, LABEL, "Swell width [Hz]:", IDC_SEA_SIGMA, FIELD)
        .okCancel(410, 448);
    return d.result();
}

} // namespace

void registerSeaDialogTemplates() {
    addDialogTemplate(irregularSeaTemplate());
}

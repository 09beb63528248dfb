#include "sea/ui/sea_dialog_templates.h"

#include "shell/dialog_templates.h"

namespace {

// Three columns of groups, a row every ROW px under a group's caption.
constexpr int COLUMN = 316;
constexpr int GROUP_WIDTH = 304;
constexpr int ROW = 32;
constexpr int CAPTION = 24;
constexpr int INSET = 10;
constexpr int LABEL = 150;
constexpr int FIELD = 110;

// A group box at (x, y) around `rows` rows; returns the first row's y.
int group(DialogBuilder& d, int x, int y, const char* caption, int rows) {
    d.control(
        {IDC_STATIC, ControlKind::GroupBox, caption, x, y, GROUP_WIDTH, CAPTION + rows * ROW + 4});
    return y + CAPTION;
}

// The wave, its order and the regular, bichromatic, focused and solitary
// waves' own fields.
void waveColumn(DialogBuilder& d, int x) {
    const int in = x + INSET;
    int y = group(d, x, 8, "Wave", 7);
    d.labelCombo(in, y, 110, "Wave:", IDC_SEA_WAVE, 170)
        .labelCombo(in, y + ROW, 110, "Order:", IDC_SEA_ORDER, 170)
        .check(in, y + 2 * ROW, IDC_SEA_SUBHARMONICS, "Subharmonics", 130)
        .check(in + 140, y + 2 * ROW, IDC_SEA_SUPERHARMONICS, "Superharmonics", 140)
        .check(in, y + 3 * ROW, IDC_SEA_LIMIT_SUBHARMONICS, "Limit subharmonics", 270)
        .labelEdit(in, y + 4 * ROW, LABEL, "Pairs from [Hz]:", IDC_SEA_PAIR_FMIN, FIELD)
        .labelEdit(in, y + 5 * ROW, LABEL, "Pairs to [Hz]:", IDC_SEA_PAIR_FMAX, FIELD)
        .labelEdit(in, y + 6 * ROW, LABEL, "Long waves from [Hz]:", IDC_SEA_DIFFERENCE_FMIN, FIELD);
    y = group(d, x, 8 + CAPTION + 7 * ROW + 14, "Regular and bichromatic waves", 4);
    d.labelEdit(in, y, LABEL, "Wave height [m]:", IDC_SEA_WAVE_HEIGHT, FIELD)
        .labelEdit(in, y + ROW, LABEL, "Wave period [s]:", IDC_SEA_WAVE_PERIOD, FIELD)
        .labelEdit(in, y + 2 * ROW, LABEL, "Second height [m]:", IDC_SEA_SECOND_HEIGHT, FIELD)
        .labelEdit(in, y + 3 * ROW, LABEL, "Second period [s]:", IDC_SEA_SECOND_PERIOD, FIELD);
    y = group(d, x, y + 4 * ROW + 14, "Focused group and solitary wave", 4);
    d.labelEdit(in, y, LABEL, "Focus time [s]:", IDC_SEA_FOCUS_TIME, FIELD)
        .labelEdit(in, y + ROW, LABEL, "Focus distance [m]:", IDC_SEA_FOCUS_DISTANCE, FIELD)
        .labelEdit(in, y + 2 * ROW, LABEL, "Crest at focus [m]:", IDC_SEA_CREST, FIELD)
        .labelEdit(in, y + 3 * ROW, LABEL, "Solitary height [m]:", IDC_SEA_SOLITARY, FIELD);
}

// The spectrum and, for a composite or Ochi-Hubble sea, its swell.
void spectrumColumn(DialogBuilder& d, int x) {
    const int in = x + INSET;
    int y = group(d, x, 8, "Spectrum", 7);
    d.labelCombo(in, y, 80, "Spectrum:", IDC_SEA_SPECTRUM, 204)
        .labelEdit(in, y + ROW, 80, "Table file:", IDC_SEA_TABLE, 114)
        .button(in + 200, y + ROW - 1, IDC_SEA_BROWSE, "&Browse...")
        .labelEdit(in, y + 2 * ROW, LABEL, "Hm0 [m]:", IDC_SEA_HM0, FIELD)
        .labelEdit(in, y + 3 * ROW, LABEL, "Tp [s]:", IDC_SEA_TP, FIELD)
        .labelEdit(in, y + 4 * ROW, LABEL, "Gamma:", IDC_SEA_GAMMA, FIELD)
        .labelEdit(in, y + 5 * ROW, LABEL, "Lambda:", IDC_SEA_LAMBDA, FIELD)
        .labelEdit(in, y + 6 * ROW, LABEL, "Swell width [Hz]:", IDC_SEA_SIGMA, FIELD);
    y = group(d, x, 8 + CAPTION + 7 * ROW + 14, "Swell of a composite or Ochi-Hubble sea", 6);
    d.labelCombo(in, y, 136, "Swell spectrum:", IDC_SEA_SWELL_SPECTRUM, 148)
        .labelEdit(in, y + ROW, LABEL, "Swell Hm0 [m]:", IDC_SEA_SWELL_HM0, FIELD)
        .labelEdit(in, y + 2 * ROW, LABEL, "Swell Tp [s]:", IDC_SEA_SWELL_TP, FIELD)
        .labelEdit(in, y + 3 * ROW, LABEL, "Swell gamma:", IDC_SEA_SWELL_GAMMA, FIELD)
        .labelEdit(in, y + 4 * ROW, LABEL, "Swell lambda:", IDC_SEA_SWELL_LAMBDA, FIELD)
        .labelCombo(in, y + 5 * ROW, 136, "Wind sea spectrum:", IDC_SEA_WIND_SPECTRUM, 148);
}

// The flume, the paddle and the synthesis.
void driveColumn(DialogBuilder& d, int x) {
    const int in = x + INSET;
    int y = group(d, x, 8, "Flume and paddle", 5);
    d.labelEdit(in, y, LABEL, "Depth [m]:", IDC_SEA_DEPTH, FIELD)
        .labelCombo(in, y + ROW, LABEL, "Paddle:", IDC_SEA_PADDLE, FIELD)
        .labelEdit(in, y + 2 * ROW, LABEL, "Hinge height [m]:", IDC_SEA_HINGE, FIELD)
        .labelEdit(in, y + 3 * ROW, LABEL, "Largest stroke [m]:", IDC_SEA_MAX_STROKE, FIELD)
        .labelEdit(in, y + 4 * ROW, LABEL, "Largest velocity [m/s]:", IDC_SEA_MAX_VELOCITY, FIELD);
    y = group(d, x, 8 + CAPTION + 5 * ROW + 14, "Drive", 7);
    d.labelEdit(in, y, LABEL, "Duration [s]:", IDC_SEA_DURATION, FIELD)
        .labelEdit(in, y + ROW, LABEL, "Time step [s]:", IDC_SEA_TIME_STEP, FIELD)
        .labelEdit(in, y + 2 * ROW, LABEL, "Seed:", IDC_SEA_SEED, FIELD)
        .labelCombo(in, y + 3 * ROW, LABEL, "Method:", IDC_SEA_METHOD, 130)
        .labelEdit(in, y + 4 * ROW, LABEL, "Lowest frequency [Hz]:", IDC_SEA_FMIN, FIELD)
        .labelEdit(in, y + 5 * ROW, LABEL, "Highest frequency [Hz]:", IDC_SEA_FMAX, FIELD)
        .labelEdit(in, y + 6 * ROW, LABEL, "Ramps [s]:", IDC_SEA_RAMP, FIELD);
}

DialogTemplate irregularSeaTemplate() {
    DialogBuilder d(DIALOG_IRREGULAR_SEA, "Irregular Sea", 12 + 3 * COLUMN, 616);
    waveColumn(d, 12);
    spectrumColumn(d, 12 + COLUMN);
    driveColumn(d, 12 + 2 * COLUMN);
    d.okCancel(12 + 3 * COLUMN - 12 - 2 * BUTTON_WIDTH - 10, 580);
    return d.result();
}

} // namespace

void registerSeaDialogTemplates() {
    addDialogTemplate(irregularSeaTemplate());
}

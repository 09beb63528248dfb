#include "measure/ui/measure_dialog_templates.h"

#include "shell/dialog_templates.h"

namespace {

DialogTemplate measureConfigurationTemplate() {
    DialogBuilder d(DIALOG_MEASURE_CONFIGURATION, "Measure configuration", 600, 430);
    d.labelEdit(12, 12, 140, "Name:", IDC_MEASURE_NAME, 440)
        .labelEdit(12, 44, 140, "Sampling Rate [Hz]:", IDC_MEASURE_RATE, 140)
        .labelEdit(310, 44, 110, "Channels:", IDC_MEASURE_CHANNELS, 170, CONTROL_READ_ONLY)
        .labelEdit(12, 76, 140, "Measure length:", IDC_MEASURE_LENGTH, 140, CONTROL_READ_ONLY)
        .labelEdit(310, 76, 110, "Measure date:", IDC_MEASURE_DATE, 170, CONTROL_READ_ONLY)
        .labelList(12, 112, nullptr, IDC_MEASURE_LIST, 576, 260)
        .button(12, 384, IDC_MEASURE_EDIT, "&Edit")
        .okCancel(418, 384, "Ok");
    return d.result();
}

DialogTemplate channelConfigurationTemplate() {
    DialogBuilder d(DIALOG_CHANNEL_CONFIGURATION, "Channel configuration", 400, 254);
    d.labelEdit(12, 12, 100, "Name:", IDC_CHANNEL_NAME, 276)
        .labelEdit(12, 44, 100, "Unit:", IDC_CHANNEL_UNIT, 100)
        .labelEdit(12, 76, 100, "Coefficient:", IDC_CHANNEL_COEFFICIENT, 160)
        .labelEdit(12, 108, 100, "Constant:", IDC_CHANNEL_CONSTANT, 160)
        .labelEdit(12, 140, 100, "Levels:", IDC_CHANNEL_LEVELS, 160)
        .button(280, 140, IDC_CHANNEL_CALIBRATE, "C&alibrate...")
        .okCancel(120, 210, "Ok");
    return d.result();
}

// A group box with three or four read-only "label: value" rows.
void statisticGroup(DialogBuilder& d, int x, int y, int id, const char* caption,
                    std::initializer_list<std::pair<const char*, int>> rows) {
    int height = 28 + 30 * int(rows.size());
    d.control({id, ControlKind::GroupBox, caption, x, y, 220, height});
    int row = y + 24;
    for (const auto& [label, field] : rows) {
        d.labelEdit(x + 10, row, 70, label, field, 130, CONTROL_READ_ONLY);
        row += 30;
    }
}

DialogTemplate statisticTemplate() {
    DialogBuilder d(DIALOG_STATISTIC, "Statistic", 480, 400);
    d.labelEdit(12, 12, 50, "From", 165, 120, CONTROL_READ_ONLY)
        .labelEdit(250, 12, 50, "To", 166, 120, CONTROL_READ_ONLY);
    statisticGroup(d, 12, 50, IDC_STATIC, "Signal",
                   {{"Min:", 167}, {"Max:", 168}, {"Mean:", 170}, {"St.dev:", 171}});
    statisticGroup(d, 12, 210, 178, "Wave", {{"Min:", 172}, {"Max:", 173}, {"Mean:", 174}});
    statisticGroup(d, 248, 50, 179, "Period", {{"Min:", 175}, {"Max:", 176}, {"Mean:", 177}});
    statisticGroup(d, 248, 180, IDC_STATIC, "Frequency",
                   {{"Min:", 180}, {"Max:", 181}, {"Mean:", 182}});
    d.button(200, 356, 1, "Ok", true);
    return d.result();
}

} // namespace

void registerMeasureDialogTemplates() {
    addDialogTemplate(measureConfigurationTemplate());
    addDialogTemplate(channelConfigurationTemplate());
    addDialogTemplate(statisticTemplate());
}

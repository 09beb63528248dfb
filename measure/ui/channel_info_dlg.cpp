#include "measure/ui/channel_info_dlg.h"

#include <QDialog>
#include <QRegularExpression>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "measure/gauge_calibration.h"
#include "measure/int_channel_scale.h"
#include "measure/measure_file.h"
#include "measure/ui/measure_dialog_templates.h"
#include "shell/open_file_type.h"
#include "shell/ui/modal_ui.h"
#include "view/ui/file_commands.h"
#include "view/ui/samples_choice.h"

namespace {

constexpr double MAX_VALUE = 999999;

// "-0.1, 0 0.1": the numbers of the field; false when one is not a number.
bool levelList(const QString& text, std::vector<double>& out) {
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    out.clear();
    for (const QString& item : text.split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        out.push_back(item.toDouble(&ok));
        if (!ok) return false;
    }
    return true;
}

// The record, with the matrix the user picks where its file holds several;
// false with `why` empty when the user cancelled that choice.
bool readRecord(QWidget* owner, const std::string& path, FileType type,
                std::unique_ptr<CMeasure>& record, std::string& why) {
    ReadOptions options;
    for (;;) {
        record = std::make_unique<CMeasure>();
        ReadReport report;
        if (readMeasure(*record, path, type, &why, nullptr, options, &report)) return true;
        if (!mayChooseSamples(report, options)) return false;
        if (!chooseSamples(owner, path, report, options)) {
            why.clear();
            return false;
        }
    }
}

} // namespace

int CChannelInfoDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setName(IDC_CHANNEL_NAME, info.name, MAX_CHANNEL_NAME + 1);
    setName(IDC_CHANNEL_UNIT, info.unit, MAX_UNIT + 1);
    setFormatted(IDC_CHANNEL_COEFFICIENT, "%10.8f", info.coefficient);
    setFormatted(IDC_CHANNEL_CONSTANT, "%10.8f", info.constant);
    return 1;
}

int CChannelInfoDlg::OnOK() {
    ChannelInfo read = info;
    if (!readName(IDC_CHANNEL_NAME, read.name, MAX_CHANNEL_NAME + 1) ||
        !readName(IDC_CHANNEL_UNIT, read.unit, MAX_UNIT + 1) ||
        !readDouble(IDC_CHANNEL_COEFFICIENT, read.coefficient, 0, MAX_VALUE) ||
        !readDouble(IDC_CHANNEL_CONSTANT, read.constant, -MAX_VALUE, MAX_VALUE))
        return 1;
    info = read;
    *data = info;
    return CDialog::OnOK();
}

int CChannelInfoDlg::OnCommand(int controlId, int notificationCode, QWidget* control) {
    if (controlId == IDC_CHANNEL_CALIBRATE) {
        calibrate();
        return 0;
    }
    return CDialog::OnCommand(controlId, notificationCode, control);
}

void CChannelInfoDlg::calibrate() {
    CalibrationOptions options;
    if (!levelList(text(IDC_CHANNEL_LEVELS), options.levels) || options.levels.size() < 2) {
        showFieldHint(IDC_CHANNEL_LEVELS,
                      QStringLiteral("Enter the levels the gauge stood at, in order, separated "
                                     "by commas (at least two)."));
        return;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Calibration record");
    request.filters = openFileTypes();
    request.startFilter = allMeasurementsFilterIndex();
    const FileDialogAnswer answer = modalUi().fileDialog(hwnd, request);
    if (!answer.accepted) return;
    const std::string path = answer.path.toStdString();
    const FileType type = openFileType(answer.filterIndex, path);
    std::unique_ptr<CMeasure> record;
    std::vector<double> raw;
    GaugeCalibration c;
    std::string why;
    if (!readRecord(hwnd, path, type, record, why)) {
        if (why.empty()) return; // the user's own choice: nothing to say
        why = "the record could not be read: " + why;
    } else if (!record->hasChannel(channel)) {
        why = "the record has no channel " + std::to_string(channel);
    } else if (rawChannelValues(*record, channel, path, type, raw, &why)) {
        calibrateGauge(raw, record->sampleRate, options, c, &why);
    }
    if (!why.empty()) {
        showFieldHint(IDC_CHANNEL_LEVELS,
                      QStringLiteral("Not calibrated: %1.").arg(QString::fromStdString(why)));
        return;
    }
    // Every digit of the fit, which "%10.8f" would cut for a small coefficient.
    setDouble(IDC_CHANNEL_COEFFICIENT, c.coefficient);
    setDouble(IDC_CHANNEL_CONSTANT, c.constant);
    calibrated = true;
    char summary[96];
    std::snprintf(summary, sizeof summary, "Calibrated: r^2 %.6f, largest residual %.4g.", c.r2,
                  c.largestResidual);
    showFieldHint(IDC_CHANNEL_COEFFICIENT, QString::fromLatin1(summary), HintKind::Information);
}

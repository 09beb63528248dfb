#include "measure/ui/file_info_dlg.h"

#include <QDialog>

#include <algorithm>

#include "measure/channel_calibration.h"
#include "measure/text_encoding.h"
#include "measure/ui/channel_info_dlg.h"
#include "measure/ui/measure_dialog_templates.h"
#include "shell/ui/formatted.h"
#include "shell/ui/warning_message.h"

namespace {
constexpr double MAX_RATE = 999999;
}

int CFileInfoDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    modified = false;
    setName(IDC_MEASURE_NAME, header->name, MAX_NAME + 1);
    setFormatted(IDC_MEASURE_RATE, "%10.4f", header->sampleRate);
    setInt(IDC_MEASURE_CHANNELS, header->channelCount);
    setInt(IDC_MEASURE_LENGTH, header->sampleCount);
    char date[64];
    setText(IDC_MEASURE_DATE, QString::fromLatin1(header->dateText(date, sizeof date)));
    setListColumns(
        IDC_MEASURE_LIST,
        {{"Name", 300}, {"Unit", 60}, {"Coefficient", 90, true}, {"Constant", 90, true}});
    for (int c = 0; c < header->channelCount && c < MAX_CHANNELS; ++c)
        showChannelRow(c);
    selectListRow(IDC_MEASURE_LIST, 0);
    return 1;
}

void CFileInfoDlg::showChannelRow(int row) {
    const ChannelInfo& info = header->channels[row];
    setListRow(IDC_MEASURE_LIST, row,
               {QString::fromStdString(displayText(info.name)),
                QString::fromStdString(displayText(info.unit)),
                formatted("%10.8f", info.coefficient), formatted("%10.8f", info.constant)});
}

void CFileInfoDlg::editChannel(int row) {
    if (row < 0 || row >= header->channelCount || row >= MAX_CHANNELS) return;
    CChannelInfoDlg dialog(&header->channels[row], row);
    if (showDialog(dialog, hwnd, DIALOG_CHANNEL_CONFIGURATION) != 1) return;
    calibrated[row] = calibrated[row] || dialog.calibrated;
    showChannelRow(row);
    modified = true;
}

int CFileInfoDlg::OnCommand(int id, int, QWidget*) {
    if (id == IDC_MEASURE_EDIT) {
        int row = -1;
        getSelectedRow(IDC_MEASURE_LIST, row);
        editChannel(row);
    }
    return 0;
}

int CFileInfoDlg::OnNotify(int id, const NotifyRecord& record) {
    if (id == IDC_MEASURE_LIST && record.code == NM_DBLCLK) editChannel(record.row);
    return 0;
}

// All or none: every calibrated channel is checked before one is scaled.
bool CFileInfoDlg::applyCalibrations() {
    const int channels = std::min(header->channelCount, MAX_CHANNELS);
    for (int c = 0; c < channels; ++c) {
        const ChannelInfo& to = header->channels[c];
        const char* why =
            calibrated[c] ? calibrationRefusal(*measure, c, to.coefficient, to.constant) : nullptr;
        if (why) {
            showWarning(hwnd, QStringLiteral("The calibration of \"%1\" was not applied: %2.")
                                  .arg(QString::fromStdString(displayText(to.name)),
                                       QString::fromLatin1(why)));
            return false;
        }
    }
    const int layout = measureIntLayout(*measure);
    for (int c = 0; c < channels; ++c)
        if (calibrated[c])
            applyChannelCalibration(*measure, c, header->channels[c].coefficient,
                                    header->channels[c].constant, layout, nullptr);
    return true;
}

int CFileInfoDlg::OnOK() {
    char name[sizeof header->name];
    copyField(name, sizeof name, header->name);
    double rate = header->sampleRate;
    if (!readName(IDC_MEASURE_NAME, name, MAX_NAME + 1) ||
        !readDouble(IDC_MEASURE_RATE, rate, 0, MAX_RATE))
        return 1;
    if (!applyCalibrations()) return 1;
    copyField(measure->name, sizeof measure->name, name);
    measure->sampleRate = rate;
    for (int c = 0; c < header->channelCount && c < MAX_CHANNELS; ++c)
        measure->channels[c] = header->channels[c];
    return CDialog::OnOK();
}

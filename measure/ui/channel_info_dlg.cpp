#include "measure/ui/channel_info_dlg.h"

#include "measure/ui/measure_dialog_templates.h"

namespace {
constexpr double MAX_VALUE = 999999;
}

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

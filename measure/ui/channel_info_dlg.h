// "Channel configuration": one channel's name, unit, coefficient and constant.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CChannelInfoDlg : public CDialog {
  public:
    explicit CChannelInfoDlg(ChannelInfo* data) : data(data), info(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    // Names and units go back in Windows-1250, within 40 and 7 characters.
    int OnOK() override;

    ChannelInfo* data;
    ChannelInfo info;
};

// "Channel configuration": one channel's name, unit, coefficient and constant.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CChannelInfoDlg : public CDialog {
  public:
    // `channel` is the channel's number, the one a calibration record is read at.
    explicit CChannelInfoDlg(ChannelInfo* data, int channel = 0)
        : data(data), info(*data), channel(channel) {}

    int OnInitDialog(QDialog* dialog) override;
    // Names and units go back in Windows-1250, within 40 and 7 characters.
    int OnOK() override;
    // "Calibrate...": a record picked in the open dialog, in which the gauge
    // stood still at the levels typed, gives the coefficient and constant
    // fields (as ondarix-batch calibrate, no fit below r^2 0.99); the hint
    // line tells the fit's r^2 or why there is none.
    int OnCommand(int controlId, int notificationCode, QWidget* control) override;

    ChannelInfo* data;
    ChannelInfo info;
    const int channel;
    // A fit was taken: the pair confirmed is to scale the channel's values,
    // where a coefficient typed alone describes them only.
    bool calibrated = false;

  private:
    void calibrate();
};

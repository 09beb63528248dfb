// "Channel configuration" of one Kalman component: name, frequency,
// amplitude and K; A, D and Eta pass through.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CSkladowaKalmanaDlg : public CDialog {
  public:
    explicit CSkladowaKalmanaDlg(SignalComponent* data) : data(data), component(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;

    SignalComponent* data;
    SignalComponent component;
};

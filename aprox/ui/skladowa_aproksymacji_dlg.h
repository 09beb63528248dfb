// "Channel configuration" of one approximation component: name, frequency,
// A, D and Eta; amplitude and K pass through.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CSkladowaAproksymacjiDlg : public CDialog {
  public:
    explicit CSkladowaAproksymacjiDlg(SignalComponent* data) : data(data), component(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;

    SignalComponent* data;
    SignalComponent component;
};

// The component editor of "Signal Parameters" (titled "Channel configuration"):
// name, frequency, amplitude ("Variation"), K, A, D and Eta of one component.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CParametrySkladowejDlg : public CDialog {
  public:
    explicit CParametrySkladowejDlg(SignalComponent* data) : data(data), component(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    // Writes the whole component back.
    int OnOK() override;

    SignalComponent* data;
    SignalComponent component;
};

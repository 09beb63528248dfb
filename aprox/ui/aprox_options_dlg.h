// "Approximation Options": Epsilon, Break if and Zero of the process-wide
// approximation settings; the two flags are the run dialog's.
#pragma once

#include "aprox/aprox_options.h"
#include "shell/ui/dialog.h"

class CAproxOptionsDlg : public CDialog {
  public:
    explicit CAproxOptionsDlg(AproxOptions* data) : data(data), options(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;

    AproxOptions* data;
    AproxOptions options;
};

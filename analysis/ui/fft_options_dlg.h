// "Fourier Options": the process-wide Fourier settings.
#pragma once

#include "analysis/fourier_options.h"
#include "shell/ui/dialog.h"

class CFftOptionsDlg : public CDialog {
  public:
    explicit CFftOptionsDlg(FourierOptions* data) : data(data), options(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    // Copies the whole record back; fields the dialog does not show go back
    // unchanged.
    int OnOK() override;

    FourierOptions* data;
    FourierOptions options; // the private copy the fields edit
};

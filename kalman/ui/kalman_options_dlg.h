// "Kalman Filter Options": model, error estimation, observation error,
// constant period and asymptotic threshold of the process-wide Kalman
// settings. Damping is the run dialog's.
#pragma once

#include "kalman/kalman_options.h"
#include "shell/ui/dialog.h"

// The four model names in index order, for the model lists.
QStringList kalmanModelNames();

class CKalmanOptionsDlg : public CDialog {
  public:
    explicit CKalmanOptionsDlg(KalmanOptions* data) : data(data), options(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;

    KalmanOptions* data;
    KalmanOptions options;
};

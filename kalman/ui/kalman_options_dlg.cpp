#include "kalman/ui/kalman_options_dlg.h"

#include "kalman/kalman_model_names.h"
#include "kalman/ui/kalman_dialog_templates.h"

namespace {
constexpr double MAX_VALUE = 100;
}

QStringList kalmanModelNames() {
    QStringList names;
    for (const char* name : KALMAN_MODEL_NAMES)
        names << QString::fromLatin1(name);
    return names;
}

int CKalmanOptionsDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setComboItems(IDC_KALMAN_MODEL, kalmanModelNames(), options.model);
    setChecked(IDC_KALMAN_ESTIMATE_ERROR, options.estimate_error);
    setFormatted(IDC_KALMAN_OBSERVATION_ERROR, "%3.1f", options.observation_error);
    setFormatted(IDC_KALMAN_CONSTANT_PERIOD, "%3.1f", options.constant_period);
    setFormatted(IDC_KALMAN_ASYMPTOTIC, "%9.7f", options.asymptotic);
    return 1;
}

int CKalmanOptionsDlg::OnOK() {
    KalmanOptions read = options;
    if (!readDouble(IDC_KALMAN_OBSERVATION_ERROR, read.observation_error, 0, MAX_VALUE) ||
        !readDouble(IDC_KALMAN_CONSTANT_PERIOD, read.constant_period, 0, MAX_VALUE) ||
        !readDouble(IDC_KALMAN_ASYMPTOTIC, read.asymptotic, 0, MAX_VALUE))
        return 1;
    int model = comboSelection(IDC_KALMAN_MODEL);
    if (model >= 0) read.model = model;
    read.estimate_error = isChecked(IDC_KALMAN_ESTIMATE_ERROR);
    options = read;
    *data = options;
    return CDialog::OnOK();
}

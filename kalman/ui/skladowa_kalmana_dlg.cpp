#include "kalman/ui/skladowa_kalmana_dlg.h"

#include "kalman/ui/kalman_dialog_templates.h"

int CSkladowaKalmanaDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setName(IDC_KALMAN_COMPONENT_NAME, component.name, MAX_COMPONENT_NAME + 1);
    setFormatted(IDC_KALMAN_COMPONENT_FREQUENCY, "%6.4f", component.frequency);
    setFormatted(IDC_KALMAN_COMPONENT_AMPLITUDE, "%6.4f", component.amplitude);
    setFormatted(IDC_KALMAN_COMPONENT_K, "%4.2f", component.k);
    return 1;
}

int CSkladowaKalmanaDlg::OnOK() {
    SignalComponent read = component;
    if (!readName(IDC_KALMAN_COMPONENT_NAME, read.name, MAX_COMPONENT_NAME + 1) ||
        !readDouble(IDC_KALMAN_COMPONENT_FREQUENCY, read.frequency) ||
        !readDouble(IDC_KALMAN_COMPONENT_AMPLITUDE, read.amplitude) ||
        !readDouble(IDC_KALMAN_COMPONENT_K, read.k))
        return 1;
    component = read;
    *data = component;
    return CDialog::OnOK();
}

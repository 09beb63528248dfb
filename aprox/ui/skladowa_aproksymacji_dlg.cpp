#include "aprox/ui/skladowa_aproksymacji_dlg.h"

#include "aprox/ui/aprox_dialog_templates.h"

int CSkladowaAproksymacjiDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setName(IDC_APROX_COMPONENT_NAME, component.name, MAX_COMPONENT_NAME + 1);
    setFormatted(IDC_APROX_COMPONENT_FREQUENCY, "%6.4f", component.frequency);
    setFormatted(IDC_APROX_COMPONENT_A, "%6.4f", component.a);
    setFormatted(IDC_APROX_COMPONENT_D, "%6.4f", component.d);
    setFormatted(IDC_APROX_COMPONENT_ETA, "%6.4f", component.eta);
    return 1;
}

int CSkladowaAproksymacjiDlg::OnOK() {
    SignalComponent read = component;
    if (!readName(IDC_APROX_COMPONENT_NAME, read.name, MAX_COMPONENT_NAME + 1) ||
        !readDouble(IDC_APROX_COMPONENT_FREQUENCY, read.frequency) ||
        !readDouble(IDC_APROX_COMPONENT_A, read.a) || !readDouble(IDC_APROX_COMPONENT_D, read.d) ||
        !readDouble(IDC_APROX_COMPONENT_ETA, read.eta))
        return 1;
    component = read;
    *data = component;
    return CDialog::OnOK();
}

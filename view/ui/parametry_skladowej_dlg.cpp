#include "view/ui/parametry_skladowej_dlg.h"

#include "view/ui/view_dialog_templates.h"

int CParametrySkladowejDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setName(IDC_COMPONENT_NAME, component.name, MAX_COMPONENT_NAME + 1);
    setFormatted(IDC_COMPONENT_FREQUENCY, "%6.4f", component.frequency);
    setFormatted(IDC_COMPONENT_AMPLITUDE, "%6.4f", component.amplitude);
    setFormatted(IDC_COMPONENT_K, "%4.2f", component.k);
    setFormatted(IDC_COMPONENT_A, "%6.4f", component.a);
    setFormatted(IDC_COMPONENT_D, "%6.4f", component.d);
    setFormatted(IDC_COMPONENT_ETA, "%6.4f", component.eta);
    return 1;
}

int CParametrySkladowejDlg::OnOK() {
    SignalComponent read = component;
    if (!readName(IDC_COMPONENT_NAME, read.name, MAX_COMPONENT_NAME + 1) ||
        !readDouble(IDC_COMPONENT_FREQUENCY, read.frequency) ||
        !readDouble(IDC_COMPONENT_AMPLITUDE, read.amplitude) ||
        !readDouble(IDC_COMPONENT_K, read.k) || !readDouble(IDC_COMPONENT_A, read.a) ||
        !readDouble(IDC_COMPONENT_D, read.d) || !readDouble(IDC_COMPONENT_ETA, read.eta))
        return 1;
    component = read;
    *data = component;
    return CDialog::OnOK();
}

#include "view/ui/component_dlg.h"

int CComponentDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setName(IDC_COMPONENT_NAME_FIELD, component.name, MAX_COMPONENT_NAME + 1);
    for (const ComponentField& f : fields_)
        setFormatted(f.id, f.format, component.*f.value);
    return 1;
}

int CComponentDlg::OnOK() {
    SignalComponent read = component;
    if (!readName(IDC_COMPONENT_NAME_FIELD, read.name, MAX_COMPONENT_NAME + 1)) return 1;
    for (const ComponentField& f : fields_)
        if (!readDouble(f.id, read.*f.value)) return 1;
    component = read;
    *data = component;
    return CDialog::OnOK();
}

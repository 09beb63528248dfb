#include "aprox/ui/aprox_options_dlg.h"

#include "aprox/ui/aprox_dialog_templates.h"

namespace {
constexpr double MAX_VALUE = 100;
}

int CAproxOptionsDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setDouble(IDC_APROX_EPSILON, options.epsilon);
    setDouble(IDC_APROX_BREAK, options.break_limit);
    setDouble(IDC_APROX_ZERO, options.zero);
    return 1;
}

int CAproxOptionsDlg::OnOK() {
    AproxOptions read = options;
    if (!readDouble(IDC_APROX_EPSILON, read.epsilon, 0, MAX_VALUE) ||
        !readDouble(IDC_APROX_BREAK, read.break_limit, 0, MAX_VALUE) ||
        !readDouble(IDC_APROX_ZERO, read.zero, 0, MAX_VALUE))
        return 1;
    options = read;
    *data = options;
    return CDialog::OnOK();
}

#include "aprox/ui/parametry_aproksymacji_dlg.h"

#include <QDialog>

#include "aprox/aprox_copy_text.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "aprox/ui/skladowa_aproksymacji_dlg.h"
#include "shell/ui/formatted.h"
#include "waves/ui/spectrum_start_controls.h"

namespace {

QStringList aproxRow(const SignalComponent& c) {
    return {componentName(c), formatted("%6.4f", c.frequency), formatted("%6.4f", c.a),
            formatted("%6.4f", c.d), formatted("%6.4f", c.eta)};
}

} // namespace

CParametryAproksymacjiDlg::CParametryAproksymacjiDlg(SignalParameters* list, AproxOptions* options,
                                                     BlockRange* range, const CMeasure& source)
    : CComponentRunDlg(list, options, range, source,
                       {{{"Name", 90},
                         {"Frequency", 80, true},
                         {"A", 70, true},
                         {"D", 70, true},
                         {"Eta", 70, true}},
                        aproxRow,
                        namedComponent, // all six numbers 0
                        [this](SignalComponent& component) {
                            CSkladowaAproksymacjiDlg editor(&component);
                            return showDialog(editor, hwnd, DIALOG_APROX_COMPONENT) == 1;
                        }}) {}

int CParametryAproksymacjiDlg::OnInitDialog(QDialog* dialog) {
    CComponentRunDlg::OnInitDialog(dialog);
    showSpectrumStartCount(*this);
    setChecked(IDC_APROX_USE_AD, options.use_ad);
    setChecked(IDC_APROX_USE_ETA, options.use_eta);
    return 1;
}

int CParametryAproksymacjiDlg::OnCommand(int id, int, QWidget*) {
    if (listCommand(id)) return 0;
    BlockRange typed;
    if (id == IDC_SPECTRUM_STARTS && typedRange(typed) &&
        readSpectrumStarts(*this, source, typed, params))
        refillList();
    if (id == IDC_APROX_COPY_ALL)
        if (Clipboard* board = clipboard()) board->setText(aproxCopyText(params));
    return 0;
}

int CParametryAproksymacjiDlg::OnOK() {
    AproxOptions read = options;
    read.use_ad = isChecked(IDC_APROX_USE_AD);
    read.use_eta = isChecked(IDC_APROX_USE_ETA);
    return acceptWith(read);
}

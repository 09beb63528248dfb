#include "kalman/ui/parametry_kalmana_dlg.h"

#include <QDialog>

#include "kalman/kalman_copy_text.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "kalman/ui/kalman_options_dlg.h"
#include "kalman/ui/skladowa_kalmana_dlg.h"
#include "shell/ui/formatted.h"
#include "waves/ui/spectrum_start_controls.h"

namespace {

QStringList kalmanRow(const SignalComponent& c) {
    return {componentName(c), formatted("%8.6f", c.frequency), formatted("%8.6f", c.amplitude),
            formatted("%4.2f", c.k)};
}

} // namespace

CParametryKalmanaDlg::CParametryKalmanaDlg(SignalParameters* list, KalmanOptions* options,
                                           BlockRange* range, const CMeasure& source)
    : CComponentRunDlg(
          list, options, range, source,
          {{{"Name", 90}, {"Frequency", 80, true}, {"Amplitude", 80, true}, {"K", 80, true}},
           kalmanRow,
           unitComponent,
           [this](SignalComponent& component) {
               CSkladowaKalmanaDlg editor(&component);
               return showDialog(editor, hwnd, DIALOG_KALMAN_COMPONENT) == 1;
           }}) {}

int CParametryKalmanaDlg::OnInitDialog(QDialog* dialog) {
    CComponentRunDlg::OnInitDialog(dialog);
    showSpectrumStartCount(*this);
    setFormatted(IDC_KALMAN_RUN_ERROR, "%3.1f", options.observation_error);
    setChecked(IDC_KALMAN_RUN_DAMP, options.use_damp);
    setComboItems(IDC_KALMAN_RUN_MODEL, kalmanModelNames(), options.model);
    return 1;
}

int CParametryKalmanaDlg::OnCommand(int id, int, QWidget*) {
    if (listCommand(id)) return 0;
    BlockRange typed;
    if (id == IDC_SPECTRUM_STARTS && typedRange(typed) &&
        readSpectrumStarts(*this, source, typed, params))
        refillList();
    // The list as edited so far; the range and options as the dialog opened.
    if (id == IDC_KALMAN_COPY_ALL)
        if (Clipboard* board = clipboard())
            board->setText(kalmanCopyAllText(range, params, options));
    return 0;
}

int CParametryKalmanaDlg::OnOK() {
    KalmanOptions read = options;
    if (!readDouble(IDC_KALMAN_RUN_ERROR, read.observation_error, 0, 100)) return 1;
    read.use_damp = isChecked(IDC_KALMAN_RUN_DAMP);
    int model = comboSelection(IDC_KALMAN_RUN_MODEL);
    if (model >= 0) read.model = model;
    return acceptWith(read);
}

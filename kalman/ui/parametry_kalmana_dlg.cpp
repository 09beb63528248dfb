#include "kalman/ui/parametry_kalmana_dlg.h"

#include <QDialog>

#include "analysis/ui/run_range.h"
#include "kalman/kalman_copy_text.h"
#include "kalman/ui/kalman_dialog_templates.h"
#include "kalman/ui/skladowa_kalmana_dlg.h"
#include "shell/ui/formatted.h"
#include "shell/ui/kalman_options_dlg.h"

namespace {

QStringList kalmanRow(const SignalComponent& c) {
    return {componentName(c), formatted("%8.6f", c.frequency), formatted("%8.6f", c.amplitude),
            formatted("%4.2f", c.k)};
}

SignalComponent newKalmanComponent(int row) {
    SignalComponent c = namedComponent(row);
    c.frequency = 1.0;
    c.a = 1.0;
    c.d = 1.0;
    c.eta = 0.0;
    c.amplitude = 1.0;
    c.k = 5.0;
    return c;
}

} // namespace

CParametryKalmanaDlg::CParametryKalmanaDlg(SignalParameters* list, KalmanOptions* options_,
                                           BlockRange* range_, const CMeasure& source)
    : params(*list), options(*options_), range(*range_), listData(list), optionsData(options_),
      rangeData(range_), source(source),
      list_(*this, params,
            {{{"Name", 90}, {"Frequency", 80, true}, {"Amplitude", 80, true}, {"K", 80, true}},
             kalmanRow,
             newKalmanComponent,
             [this](SignalComponent& component) {
                 CSkladowaKalmanaDlg editor(&component);
                 return showDialog(editor, hwnd, DIALOG_KALMAN_COMPONENT) == 1;
             }}) {}

int CParametryKalmanaDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    showRunRange(*this, range);
    list_.fill();
    setFormatted(IDC_KALMAN_RUN_ERROR, "%3.1f", options.observation_error);
    setChecked(IDC_KALMAN_RUN_DAMP, options.use_damp);
    setComboItems(IDC_KALMAN_RUN_MODEL, kalmanModelNames(), options.model);
    return 1;
}

int CParametryKalmanaDlg::OnCommand(int id, int, QWidget*) {
    if (id != IDC_KALMAN_COPY_ALL) {
        list_.OnCommand(id);
        return 0;
    }
    // The list as edited so far; the range and options as the dialog opened.
    if (Clipboard* board = clipboard()) board->setText(kalmanCopyAllText(range, params, options));
    return 0;
}

int CParametryKalmanaDlg::OnNotify(int id, const NotifyRecord& record) {
    list_.OnNotify(id, record);
    return 0;
}

int CParametryKalmanaDlg::OnOK() {
    BlockRange readRange = range;
    KalmanOptions read = options;
    if (!readRunRange(*this, source, readRange) ||
        !readDouble(IDC_KALMAN_RUN_ERROR, read.observation_error, 0, 100))
        return 1;
    read.use_damp = isChecked(IDC_KALMAN_RUN_DAMP);
    int model = comboSelection(IDC_KALMAN_RUN_MODEL);
    if (model >= 0) read.model = model;
    *rangeData = readRange;
    *optionsData = read;
    *listData = params;
    return CDialog::OnOK();
}

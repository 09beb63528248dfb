#include "analysis/ui/parametry_fouriera_dlg.h"

#include "analysis/ui/analysis_dialog_templates.h"
#include "analysis/ui/run_range.h"

int CParametryFourieraDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    showRunRange(*this, range);
    setChecked(IDC_FOURIER_INVERSE, options.inverse);
    setChecked(IDC_FOURIER_RUN_TUNED, options.tuned);
    setFormatted(IDC_FOURIER_RUN_TUNE, "%8.6f", options.tune_frequency);
    return 1;
}

int CParametryFourieraDlg::OnOK() {
    BlockRange readRange = range;
    FourierOptions read = options;
    if (!readRunRange(*this, source, readRange) ||
        !readDouble(IDC_FOURIER_RUN_TUNE, read.tune_frequency, 0, 999999))
        return 1;
    read.inverse = isChecked(IDC_FOURIER_INVERSE);
    read.tuned = isChecked(IDC_FOURIER_RUN_TUNED);
    range = readRange;
    options = read;
    *rangeData = range;
    *optionsData = options;
    return CDialog::OnOK();
}

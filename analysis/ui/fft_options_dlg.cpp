#include "analysis/ui/fft_options_dlg.h"

#include "analysis/ui/analysis_dialog_templates.h"

namespace {
constexpr double MAX_FREQUENCY = 999999;
}

int CFftOptionsDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setChecked(IDC_FOURIER_TUNED, options.tuned);
    setFormatted(IDC_FOURIER_TUNE_FREQUENCY, "%8.6f", options.tune_frequency);
    setChecked(IDC_FOURIER_LIMITED, options.limited);
    setFormatted(IDC_FOURIER_LIMIT_FREQUENCY, "%8.6f", options.limit_frequency);
    setChecked(IDC_FOURIER_PLOT_PHASE, options.plot_phase);
    setChecked(IDC_FOURIER_LINE_PLOT, options.line_plot);
    return 1;
}

int CFftOptionsDlg::OnOK() {
    FourierOptions read = options;
    if (!readDouble(IDC_FOURIER_TUNE_FREQUENCY, read.tune_frequency, 0, MAX_FREQUENCY) ||
        !readDouble(IDC_FOURIER_LIMIT_FREQUENCY, read.limit_frequency, 0, MAX_FREQUENCY))
        return 1;
    read.tuned = isChecked(IDC_FOURIER_TUNED);
    read.limited = isChecked(IDC_FOURIER_LIMITED);
    read.plot_phase = isChecked(IDC_FOURIER_PLOT_PHASE);
    read.line_plot = isChecked(IDC_FOURIER_LINE_PLOT);
    options = read;
    *data = options;
    return CDialog::OnOK();
}

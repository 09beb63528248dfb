#include "aprox/ui/parametry_aproksymacji_dlg.h"

#include <QDialog>

#include "analysis/ui/run_range.h"
#include "aprox/aprox_copy_text.h"
#include "aprox/ui/aprox_dialog_templates.h"
#include "aprox/ui/skladowa_aproksymacji_dlg.h"
#include "shell/ui/formatted.h"

namespace {

QStringList aproxRow(const SignalComponent& c) {
    return {componentName(c), formatted("%6.4f", c.frequency), formatted("%6.4f", c.a),
            formatted("%6.4f", c.d), formatted("%6.4f", c.eta)};
}

} // namespace

CParametryAproksymacjiDlg::CParametryAproksymacjiDlg(SignalParameters* list, AproxOptions* options_,
                                                     BlockRange* range_, const CMeasure& source)
    : params(*list), options(*options_), range(*range_), listData(list), optionsData(options_),
      rangeData(range_), source(source),
      list_(*this, params,
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
    CDialog::OnInitDialog(dialog);
    list_.fill();
    showRunRange(*this, range);
    setChecked(IDC_APROX_USE_AD, options.use_ad);
    setChecked(IDC_APROX_USE_ETA, options.use_eta);
    return 1;
}

int CParametryAproksymacjiDlg::OnCommand(int id, int, QWidget*) {
    if (id == IDC_APROX_COPY_ALL) {
        if (Clipboard* board = clipboard()) board->setText(aproxCopyText(params));
    } else {
        list_.OnCommand(id);
    }
    return 0;
}

int CParametryAproksymacjiDlg::OnNotify(int id, const NotifyRecord& record) {
    list_.OnNotify(id, record);
    return 0;
}

int CParametryAproksymacjiDlg::OnOK() {
    BlockRange readRange = range;
    if (!readRunRange(*this, source, readRange)) return 1;
    AproxOptions read = options;
    read.use_ad = isChecked(IDC_APROX_USE_AD);
    read.use_eta = isChecked(IDC_APROX_USE_ETA);
    *rangeData = readRange;
    *optionsData = read;
    *listData = params;
    return CDialog::OnOK();
}

#include "view/ui/parametry_sygnalu_dlg.h"

#include <QDialog>

#include "measure/component_list_text.h"
#include "shell/ui/formatted.h"
#include "view/ui/parametry_skladowej_dlg.h"
#include "view/ui/view_dialog_templates.h"

namespace {

QStringList signalRow(const SignalComponent& c) {
    return {
        componentName(c),         formatted("%6.4f", c.frequency), formatted("%6.4f", c.amplitude),
        formatted("%4.2f", c.k),  formatted("%6.4f", c.a),         formatted("%6.4f", c.d),
        formatted("%6.4f", c.eta)};
}

} // namespace

CParametrySygnaluDlg::CParametrySygnaluDlg(SignalParameters* data, const BlockRange& opened,
                                           BlockRange* caller, int32_t samples)
    : params(*data), data(data), range(opened), caller(caller), samples(samples),
      list_(*this, params,
            {{{"Name", 100},
              {"Frequency", 70, true},
              {"Amplitude", 70, true},
              {"K", 60, true},
              {"A", 60, true},
              {"D", 60, true},
              {"Eta", 60, true}},
             signalRow,
             unitComponent,
             [this](SignalComponent& component) {
                 CParametrySkladowejDlg editor(&component);
                 return showDialog(editor, hwnd, DIALOG_SIGNAL_COMPONENT) == 1;
             },
             false}) {}

int CParametrySygnaluDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setInt(IDC_SIGNAL_CHANNEL, range.channel);
    setInt(IDC_SIGNAL_FROM, range.from);
    setInt(IDC_SIGNAL_TO, range.to);
    list_.fill();
    return 1;
}

int CParametrySygnaluDlg::OnCommand(int id, int, QWidget*) {
    if (id == IDC_COPY_ALL)
        copyAll();
    else
        list_.OnCommand(id);
    return 0;
}

int CParametrySygnaluDlg::OnNotify(int id, const NotifyRecord& record) {
    list_.OnNotify(id, record);
    return 0;
}

void CParametrySygnaluDlg::copyAll() {
    // The list as edited so far, for the block the dialog was opened on.
    if (Clipboard* board = clipboard()) board->setText(componentListText(range, params));
}

int CParametrySygnaluDlg::OnOK() {
    BlockRange read = range;
    if (!readInt(IDC_SIGNAL_FROM, read.from, 0, samples) ||
        !readInt(IDC_SIGNAL_TO, read.to, 0, samples))
        return 1;
    *data = params;
    if (caller) *caller = read;
    return CDialog::OnOK();
}

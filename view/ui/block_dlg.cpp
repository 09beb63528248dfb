#include "view/ui/block_dlg.h"

#include "shell/dialog_templates.h"
#include "view/ui/view_dialog_templates.h"

int CBlockDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setInt(IDC_BLOCK_CHANNEL, block.channel);
    setInt(IDC_BLOCK_FROM, block.from);
    setInt(IDC_BLOCK_TO, block.to);
    return 1;
}

int CBlockDlg::OnOK() {
    getInt(IDC_BLOCK_CHANNEL, block.channel);
    getInt(IDC_BLOCK_FROM, block.from);
    getInt(IDC_BLOCK_TO, block.to);
    *data = block;
    return CDialog::OnOK();
}

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
    BlockRange read = block;
    if (!readInt(IDC_BLOCK_CHANNEL, read.channel, 0, channels - 1) ||
        !readInt(IDC_BLOCK_FROM, read.from, 0, samples) ||
        !readInt(IDC_BLOCK_TO, read.to, 0, samples))
        return 1;
    block = read;
    *data = block;
    return CDialog::OnOK();
}

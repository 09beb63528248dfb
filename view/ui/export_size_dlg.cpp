#include "view/ui/export_size_dlg.h"

#include "view/ui/plot_export.h"
#include "view/ui/view_dialog_templates.h"

int CExportSizeDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setInt(IDC_EXPORT_WIDTH, size.width());
    setInt(IDC_EXPORT_HEIGHT, size.height());
    return 1;
}

int CExportSizeDlg::OnOK() {
    int32_t width = size.width();
    int32_t height = size.height();
    if (!readInt(IDC_EXPORT_WIDTH, width, MIN_EXPORT_SIDE, MAX_EXPORT_SIDE) ||
        !readInt(IDC_EXPORT_HEIGHT, height, MIN_EXPORT_SIDE, MAX_EXPORT_SIDE))
        return 1;
    size = QSize(width, height);
    *data = size;
    return CDialog::OnOK();
}

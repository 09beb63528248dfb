#include "measure/ui/statystyka_dlg.h"

int CStatystykaDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    for (const StatisticsFieldText& field : statisticsFieldTexts(report))
        setText(field.control, QString::fromStdString(field.text));
    return 1;
}

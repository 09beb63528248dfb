// "Statistic": a block's signal, wave, period and frequency statistics, as
// read-only fields; a dash where a value was not computed.
#pragma once

#include "measure/statistics_report.h"
#include "shell/ui/dialog.h"

class CStatystykaDlg : public CDialog {
  public:
    explicit CStatystykaDlg(const StatisticsReport& report) : report(report) {}

    int OnInitDialog(QDialog* dialog) override;

    StatisticsReport report;
};

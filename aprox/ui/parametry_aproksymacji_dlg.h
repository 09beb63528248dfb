// "Approximation": the range, the analysed channel's component list and the
// two start options of an approximation run.
#pragma once

#include "analysis/ui/component_run_dlg.h"
#include "aprox/aprox_options.h"

class CParametryAproksymacjiDlg : public CComponentRunDlg<AproxOptions> {
  public:
    // OK writes the range, the options and the list back.
    CParametryAproksymacjiDlg(SignalParameters* list, AproxOptions* options, BlockRange* range,
                              const CMeasure& source);

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;
    int OnCommand(int id, int code, QWidget* control) override;
};

// "Kalman Filter": the range, the analysed channel's component list, the
// observation error, damping and model of a Kalman run.
#pragma once

#include "analysis/ui/component_run_dlg.h"
#include "kalman/kalman_options.h"

class CParametryKalmanaDlg : public CComponentRunDlg<KalmanOptions> {
  public:
    // OK writes the range, the options and the list back.
    CParametryKalmanaDlg(SignalParameters* list, KalmanOptions* options, BlockRange* range,
                         const CMeasure& source);

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;
    int OnCommand(int id, int code, QWidget* control) override;
};

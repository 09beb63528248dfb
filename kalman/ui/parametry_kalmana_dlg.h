// "Kalman Filter": the range, the analysed channel's component list, the
// observation error, damping and model of a Kalman run.
#pragma once

#include "kalman/kalman_options.h"
#include "measure/measure.h"
#include "shell/ui/dialog.h"
#include "view/ui/component_list.h"

class CParametryKalmanaDlg : public CDialog {
  public:
    // Edits copies of the channel's list, `options` and `range`; `source`
    // bounds the range. OK writes all three back.
    CParametryKalmanaDlg(SignalParameters* list, KalmanOptions* options, BlockRange* range,
                         const CMeasure& source);

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;
    int OnCommand(int id, int code, QWidget* control) override;
    int OnNotify(int id, const NotifyRecord& record) override;

    SignalParameters params;
    KalmanOptions options;
    BlockRange range;
    SignalParameters* listData;
    KalmanOptions* optionsData;
    BlockRange* rangeData;
    const CMeasure& source;

  private:
    ComponentList list_;
};

// "Channel configuration" of one Kalman component: name, frequency,
// amplitude and K; A, D and Eta pass through.
#pragma once

#include "view/ui/component_dlg.h"

class CSkladowaKalmanaDlg : public CComponentDlg {
  public:
    explicit CSkladowaKalmanaDlg(SignalComponent* data);
};

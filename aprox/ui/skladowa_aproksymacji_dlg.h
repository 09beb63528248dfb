// "Channel configuration" of one approximation component: name, frequency,
// A, D and Eta; amplitude and K pass through.
#pragma once

#include "view/ui/component_dlg.h"

class CSkladowaAproksymacjiDlg : public CComponentDlg {
  public:
    explicit CSkladowaAproksymacjiDlg(SignalComponent* data);
};

// The component editor of "Signal Parameters" (titled "Channel configuration"):
// name, frequency, amplitude ("Variation"), K, A, D and Eta of one component.
#pragma once

#include "view/ui/component_dlg.h"

class CParametrySkladowejDlg : public CComponentDlg {
  public:
    explicit CParametrySkladowejDlg(SignalComponent* data);
};

#include "view/ui/parametry_skladowej_dlg.h"

#include "view/ui/view_dialog_templates.h"

CParametrySkladowejDlg::CParametrySkladowejDlg(SignalComponent* data)
    : CComponentDlg(data, {{IDC_COMPONENT_FREQUENCY, &SignalComponent::frequency, "%6.4f"},
                           {IDC_COMPONENT_AMPLITUDE, &SignalComponent::amplitude, "%6.4f"},
                           {IDC_COMPONENT_K, &SignalComponent::k, "%4.2f"},
                           {IDC_COMPONENT_A, &SignalComponent::a, "%6.4f"},
                           {IDC_COMPONENT_D, &SignalComponent::d, "%6.4f"},
                           {IDC_COMPONENT_ETA, &SignalComponent::eta, "%6.4f"}}) {}

#include "aprox/ui/skladowa_aproksymacji_dlg.h"

#include "aprox/ui/aprox_dialog_templates.h"

CSkladowaAproksymacjiDlg::CSkladowaAproksymacjiDlg(SignalComponent* data)
    : CComponentDlg(data, {{IDC_APROX_COMPONENT_FREQUENCY, &SignalComponent::frequency, "%6.4f"},
                           {IDC_APROX_COMPONENT_A, &SignalComponent::a, "%6.4f"},
                           {IDC_APROX_COMPONENT_D, &SignalComponent::d, "%6.4f"},
                           {IDC_APROX_COMPONENT_ETA, &SignalComponent::eta, "%6.4f"}}) {}

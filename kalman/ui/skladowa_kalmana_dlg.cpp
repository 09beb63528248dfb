#include "kalman/ui/skladowa_kalmana_dlg.h"

#include "kalman/ui/kalman_dialog_templates.h"

CSkladowaKalmanaDlg::CSkladowaKalmanaDlg(SignalComponent* data)
    : CComponentDlg(data, {{IDC_KALMAN_COMPONENT_FREQUENCY, &SignalComponent::frequency, "%6.4f"},
                           {IDC_KALMAN_COMPONENT_AMPLITUDE, &SignalComponent::amplitude, "%6.4f"},
                           {IDC_KALMAN_COMPONENT_K, &SignalComponent::k, "%4.2f"}}) {}

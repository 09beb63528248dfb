#include "aprox/ui/aprox_dialog_templates.h"

#include "analysis/ui/analysis_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "view/ui/component_list.h"
#include "waves/ui/spectrum_start_controls.h"

namespace {

DialogTemplate aproxTemplate() {
    DialogBuilder d(DIALOG_APROX, "Approximation", 560, 390);
    addComponentListRows(d, 440);
    addSpectrumStartRows(d, 12 + 440 + 14, 176);
    d.check(12, 302, IDC_APROX_USE_AD, "Use &A,D at start", 200)
        .check(230, 302, IDC_APROX_USE_ETA, "Use da&mp", 200)
        .button(12, 346, IDC_APROX_COPY_ALL, "Copy all")
        .okCancel(290, 346);
    return d.result();
}

DialogTemplate componentTemplate() {
    DialogBuilder d(DIALOG_APROX_COMPONENT, "Channel configuration", 360, 210);
    d.labelEdit(12, 12, 100, "Name:", IDC_APROX_COMPONENT_NAME, 236)
        .labelEdit(12, 44, 100, "Frequency:", IDC_APROX_COMPONENT_FREQUENCY, 120)
        .labelEdit(12, 76, 100, "A:", IDC_APROX_COMPONENT_A, 120)
        .labelEdit(12, 108, 100, "D:", IDC_APROX_COMPONENT_D, 120)
        .labelEdit(12, 140, 100, "Eta:", IDC_APROX_COMPONENT_ETA, 120)
        .okCancel(100, 174, "Ok");
    return d.result();
}

DialogTemplate aproxOptionsTemplate() {
    DialogBuilder d(DIALOG_APROX_OPTIONS, "Approximation Options", 280, 170);
    d.labelEdit(12, 12, 80, "Epsilon", IDC_APROX_EPSILON, 160)
        .labelEdit(12, 44, 80, "Break if", IDC_APROX_BREAK, 160)
        .labelEdit(12, 76, 80, "Zero", IDC_APROX_ZERO, 160)
        .okCancel(50, 124);
    return d.result();
}

} // namespace

void registerAproxDialogTemplates() {
    addDialogTemplate(aproxOptionsTemplate());
    addDialogTemplate(aproxTemplate());
    addDialogTemplate(componentTemplate());
}

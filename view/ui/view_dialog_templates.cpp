#include "view/ui/view_dialog_templates.h"

#include "shell/dialog_templates.h"
#include "view/ui/component_list.h"

namespace {

DialogTemplate setBlockTemplate() {
    DialogBuilder d(DIALOG_SET_BLOCK, "Set Block", 240, 150);
    d.labelEdit(12, 12, 78, "Channel", IDC_BLOCK_CHANNEL, 130)
        .labelEdit(12, 44, 78, "From", IDC_BLOCK_FROM, 130)
        .labelEdit(12, 76, 78, "To", IDC_BLOCK_TO, 130)
        .okCancel(35, 114);
    return d.result();
}

DialogTemplate signalParametersTemplate() {
    DialogBuilder d(DIALOG_SIGNAL_PARAMETERS, "Signal Parameters", 620, 340);
    addComponentListRows(d, 500);
    d.button(526, 170, IDC_COPY_ALL, "Copy all").okCancel(342, 300);
    return d.result();
}

DialogTemplate componentTemplate() {
    DialogBuilder d(DIALOG_SIGNAL_COMPONENT, "Channel configuration", 360, 280);
    d.labelEdit(12, 12, 100, "Name:", IDC_COMPONENT_NAME, 236)
        .labelEdit(12, 44, 100, "Frequency:", IDC_COMPONENT_FREQUENCY, 120)
        .labelEdit(12, 76, 100, "Variation:", IDC_COMPONENT_AMPLITUDE, 120)
        .labelEdit(12, 108, 100, "K:", IDC_COMPONENT_K, 120)
        .labelEdit(12, 140, 100, "A:", IDC_COMPONENT_A, 120)
        .labelEdit(12, 172, 100, "D:", IDC_COMPONENT_D, 120)
        .labelEdit(12, 204, 100, "Eta:", IDC_COMPONENT_ETA, 120)
        .okCancel(100, 242);
    return d.result();
}

DialogTemplate exportSizeTemplate() {
    DialogBuilder d(DIALOG_EXPORT_SIZE, "Export Plot", 260, 120);
    d.labelEdit(12, 12, 110, "Width [pixels]", IDC_EXPORT_WIDTH, 110)
        .labelEdit(12, 44, 110, "Height [pixels]", IDC_EXPORT_HEIGHT, 110)
        .okCancel(45, 84);
    return d.result();
}

} // namespace

void registerViewDialogTemplates() {
    addDialogTemplate(exportSizeTemplate());
    addDialogTemplate(setBlockTemplate());
    addDialogTemplate(signalParametersTemplate());
    addDialogTemplate(componentTemplate());
}

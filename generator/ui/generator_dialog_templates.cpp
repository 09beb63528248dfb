#include "generator/ui/generator_dialog_templates.h"

#include "shell/dialog_templates.h"

namespace {

DialogTemplate generatorTemplate() {
    DialogBuilder d(DIALOG_GENERATOR, "Kalman Models", 520, 316);
    d.labelCombo(12, 12, 130, "Model:", IDC_GENERATOR_MODEL, 200)
        .labelEdit(12, 44, 130, "Number of waves:", IDC_GENERATOR_RISE, 60)
        .control({IDC_GENERATOR_STEADY, ControlKind::Edit, "", 208, 44, 60, FIELD_HEIGHT})
        .control({IDC_GENERATOR_DECAY, ControlKind::Edit, "", 274, 44, 60, FIELD_HEIGHT})
        .labelEdit(12, 76, 130, "Wave lenght [m]", IDC_GENERATOR_WAVE_LENGTH, 110)
        .labelEdit(12, 108, 130, "Time step [s]", IDC_GENERATOR_TIME_STEP, 110)
        .labelEdit(12, 140, 130, "Deepth [m]", IDC_GENERATOR_DEPTH, 110)
        .labelEdit(12, 172, 130, "Narastanie", IDC_GENERATOR_RISE_FACTOR, 110)
        .labelEdit(12, 204, 130, "xa:", IDC_GENERATOR_XA, 110)
        .labelEdit(280, 76, 60, "C1:", IDC_GENERATOR_C1, 110)
        .labelEdit(280, 108, 60, "C1:", IDC_GENERATOR_C2, 110)
        .labelEdit(280, 140, 60, "C1:", IDC_GENERATOR_C3, 110)
        .labelEdit(280, 172, 60, "Fio:", IDC_GENERATOR_FIO, 110)
        .labelEdit(280, 204, 60, "Cr:", IDC_GENERATOR_CR, 110)
        .labelEdit(280, 236, 60, "NW:", IDC_GENERATOR_NW, 110)
        .button(12, 276, IDC_GENERATOR_COPY_ALL, "Copy all")
        .okCancel(250, 276);
    return d.result();
}

} // namespace

void registerGeneratorDialogTemplates() {
    addDialogTemplate(generatorTemplate());
}

#include "app/features.h"

#include "analysis/ui/analysis_feature.h"
#include "aprox/ui/aprox_feature.h"
#include "generator/ui/generator_feature.h"
#include "kalman/ui/kalman_feature.h"
#include "measure/ui/measure_feature.h"
#include "report/ui/report_feature.h"
#include "sea/ui/sea_feature.h"
#include "shell/ui/shell_dialog_templates.h"
#include "view/ui/view_feature.h"
#include "waves/ui/wave_feature.h"

void registerFeatures() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    registerShellDialogTemplates();
    // Every feature that exists, once. A new settings store lists the option
    // records in this order (generator first, as stores always have).
    registerMeasure();
    registerView();
    registerGenerator();
    registerAnalysis();
    registerKalman();
    registerAprox();
    registerWaves();
    registerSea();
    registerReport();
}

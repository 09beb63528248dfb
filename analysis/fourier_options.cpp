#include "analysis/fourier_options.h"

#include "shell/settings.h"

FourierOptions globalFourierOptions;

void registerFourierSettings() {
    FourierOptions& f = globalFourierOptions;
    addOptionRecord({"fourier",
                     [] { globalFourierOptions = FourierOptions(); },
                     {
                         clampedInt("FourierTunned", f.tuned, 0, 1),
                         clampedDouble("FourierTune", f.tune_frequency, 0.0, 99999.9),
                         clampedInt("FourierLimited", f.limited, 0, 1),
                         clampedDouble("FourierLimit", f.limit_frequency, 0.0, 99999.9),
                         clampedInt("FourierPlotPhase", f.plot_phase, 0, 1),
                         clampedInt("FourierLinePlot", f.line_plot, 0, 1),
                     }});
}

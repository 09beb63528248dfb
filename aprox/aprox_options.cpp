#include "aprox/aprox_options.h"

#include "shell/settings.h"

AproxOptions globalAproxOptions;

void registerAproxSettings() {
    AproxOptions& a = globalAproxOptions;
    addOptionRecord({"aprox",
                     [] { globalAproxOptions = AproxOptions(); },
                     {
                         clampedInt("AproxUseAD", a.use_ad, 0, 1),
                         clampedInt("AproxUseEta", a.use_eta, 0, 1),
                         clampedDouble("AproxEpsilon", a.epsilon, 0.0, 99.9),
                         clampedDouble("AproxBreak", a.break_limit, 0.0, 99.9),
                         clampedDouble("AproxZero", a.zero, 0.0, 1.0),
                     }});
}

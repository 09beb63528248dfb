#include "kalman/kalman_options.h"

#include "shell/settings.h"

KalmanOptions globalKalmanOptions;

void registerKalmanSettings() {
    KalmanOptions& k = globalKalmanOptions;
    addOptionRecord({"kalman",
                     [] { globalKalmanOptions = KalmanOptions(); },
                     {
                         clampedInt("KalmanModel", k.model, 0, 3),
                         clampedInt("KalmanEstimateError", k.estimate_error, 0, 1),
                         clampedDouble("KalmanObservationError", k.observation_error, 0.0, 99.9),
                         clampedDouble("KalmanConstantPeriod", k.constant_period, 0.0, 999999.9),
                         clampedDouble("KalmanAsymptotic", k.asymptotic, 0.0, 99.9),
                         clampedInt("KalmanUseDamp", k.use_damp, 0, 1),
                     }});
}

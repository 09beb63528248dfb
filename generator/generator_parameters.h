// Parameters of the wave-maker signal synthesis; one process-wide copy is
// persisted, and every generated measurement carries its own.
#pragma once

#include <cstdint>

#include "numeric/constants.h"

struct GeneratorParameters {
    int32_t czas_narastania = 5;           // periods of the rise phase
    int32_t czas_ustalony = 5;             // periods of the steady phase
    int32_t czas_zaniku = 5;               // periods of the decay phase
    double okres_probkowania = 0.02;       // sampling period dt [s]
    double dlugosc_fali = 8.0;             // wave length L [m]
    double wysokosc_wody = 0.6;            // water depth h [m]
    double narastanie = 2.0;               // rise rate in units of 1/period
    double amplituda = 0.025;              // persisted only; the synthesis ignores it
    int32_t model_generacji = 1;           // generation model 0..6
    double wspolczynnik_xa = 0.3;          // in-phase correction of model 3
    double wspolczynnik_w1 = 0.231;        // Stokes coefficient C1 (model 5)
    double wspolczynnik_w2 = 0.044;        // Stokes coefficient C2
    double wspolczynnik_w3 = 0.0;          // Stokes coefficient C3
    double wspolczynnik_fio = PI;          // group modulation phase [rad] (model 6)
    double wspolczynnik_cr = 0.05;         // group modulation depth (model 6)
    double wielkosc_grupy = 3.0;           // group size in waves (model 6)
    int32_t stopien_rozniczkowalnosci = 2; // envelope chain has degree + 1 states
    double period = 0.0;                   // not persisted: wave period T from the synthesis [s]
};

// The copy the dialogs edit and the next run starts from.
extern GeneratorParameters globalGeneratorParameters;

// Registers the generator parameters with the settings store under its stored names.
void registerGeneratorSettings();

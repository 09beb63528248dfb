#include "generator/generator_parameters.h"

#include "shell/settings.h"

GeneratorParameters globalGeneratorParameters;

void registerGeneratorSettings() {
    GeneratorParameters& g = globalGeneratorParameters;
    addOptionRecord({"generator",
                     [] { globalGeneratorParameters = GeneratorParameters(); },
                     {
                         plainInt("czas_narastania", g.czas_narastania),
                         plainInt("czas_ustalony", g.czas_ustalony),
                         plainInt("czas_zaniku", g.czas_zaniku),
                         plainDouble("okres_probkowania", g.okres_probkowania),
                         plainDouble("dlugosc_fali", g.dlugosc_fali),
                         plainDouble("wysokosc_wody", g.wysokosc_wody),
                         plainDouble("narastanie", g.narastanie),
                         plainDouble("amplituda", g.amplituda),
                         plainDouble("wspolczynnik_xa", g.wspolczynnik_xa),
                         plainDouble("wspolczynnik_w1", g.wspolczynnik_w1),
                         plainDouble("wspolczynnik_w2", g.wspolczynnik_w2),
                         plainDouble("wspolczynnik_w3", g.wspolczynnik_w3),
                         plainDouble("wspolczynnik_fio", g.wspolczynnik_fio),
                         plainDouble("wspolczynnik_cr", g.wspolczynnik_cr),
                         plainDouble("wielkosc_grupy", g.wielkosc_grupy),
                         plainInt("model_generacji", g.model_generacji),
                         plainInt("stopien_rozniczkowalnosci", g.stopien_rozniczkowalnosci),
                     }});
}

#include "shell/settings.h"

#include <array>

const char* const SETTINGS_KEY = "Software\\KELVO\\Ondarix\\3.0";

GeneratorParameters globalGeneratorParameters;
FourierOptions globalFourierOptions;
KalmanOptions globalKalmanOptions;
AproxOptions globalAproxOptions;

namespace {

// One persisted field: exactly one of the two pointers is set. Load and save
// walk the same table, so their order and their set of values cannot drift.
struct SettingEntry {
    const char* name;
    int32_t* intField;
    double* doubleField;
    bool clamped;
    double low;
    double high;
};

SettingEntry plainInt(const char* name, int32_t& field) {
    return {name, &field, nullptr, false, 0, 0};
}
SettingEntry plainDouble(const char* name, double& field) {
    return {name, nullptr, &field, false, 0, 0};
}
SettingEntry clampedInt(const char* name, int32_t& field, int32_t low, int32_t high) {
    return {name, &field, nullptr, true, double(low), double(high)};
}
SettingEntry clampedDouble(const char* name, double& field, double low, double high) {
    return {name, nullptr, &field, true, low, high};
}

constexpr size_t SETTING_COUNT = 34;

std::array<SettingEntry, SETTING_COUNT> settingTable() {
    GeneratorParameters& g = globalGeneratorParameters;
    FourierOptions& f = globalFourierOptions;
    KalmanOptions& k = globalKalmanOptions;
    AproxOptions& a = globalAproxOptions;
    return {{
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
        clampedInt("FourierTunned", f.tuned, 0, 1),
        clampedDouble("FourierTune", f.tune_frequency, 0.0, 99999.9),
        clampedInt("FourierLimited", f.limited, 0, 1),
        clampedDouble("FourierLimit", f.limit_frequency, 0.0, 99999.9),
        clampedInt("FourierPlotPhase", f.plot_phase, 0, 1),
        clampedInt("FourierLinePlot", f.line_plot, 0, 1),
        clampedInt("KalmanModel", k.model, 0, 3),
        clampedInt("KalmanEstimateError", k.estimate_error, 0, 1),
        clampedDouble("KalmanObservationError", k.observation_error, 0.0, 99.9),
        clampedDouble("KalmanConstantPeriod", k.constant_period, 0.0, 999999.9),
        clampedDouble("KalmanAsymptotic", k.asymptotic, 0.0, 99.9),
        clampedInt("KalmanUseDamp", k.use_damp, 0, 1),
        clampedInt("AproxUseAD", a.use_ad, 0, 1),
        clampedInt("AproxUseEta", a.use_eta, 0, 1),
        clampedDouble("AproxEpsilon", a.epsilon, 0.0, 99.9),
        clampedDouble("AproxBreak", a.break_limit, 0.0, 99.9),
        clampedDouble("AproxZero", a.zero, 0.0, 1.0),
    }};
}

void loadEntry(const RegistryKey& key, const SettingEntry& e) {
    if (e.intField && e.clamped)
        key.queryInt(e.name, *e.intField, int32_t(e.low), int32_t(e.high));
    else if (e.intField)
        key.queryInt(e.name, *e.intField);
    else if (e.clamped)
        key.queryDouble(e.name, *e.doubleField, e.low, e.high);
    else
        key.queryDouble(e.name, *e.doubleField);
}

void saveEntry(RegistryKey& key, const SettingEntry& e) {
    if (e.intField)
        key.setInt(e.name, *e.intField);
    else
        key.setDouble(e.name, *e.doubleField);
}

} // namespace

bool loadSettings(const std::string& root) {
    globalGeneratorParameters = GeneratorParameters();
    globalFourierOptions = FourierOptions();
    globalKalmanOptions = KalmanOptions();
    globalAproxOptions = AproxOptions();
    RegistryKey key(root);
    if (!key.openKey(SETTINGS_KEY)) return false;
    for (const SettingEntry& e : settingTable())
        loadEntry(key, e);
    key.closeKey();
    return true;
}

SaveStatus saveSettings(const std::string& root) {
    RegistryKey key(root);
    if (!key.createKey(SETTINGS_KEY)) return saveFailed(key.failure());
    // Setting cannot fail on a created key: the names are valid, the sizes small.
    for (const SettingEntry& e : settingTable())
        saveEntry(key, e);
    return key.closeKey();
}

SaveStatus saveWindowPlacement(int32_t state, int32_t left, int32_t top, int32_t right,
                               int32_t bottom, const std::string& root) {
    RegistryKey key(root);
    if (!key.createKey(SETTINGS_KEY)) return saveFailed(key.failure());
    // Differences wrap as 32-bit values would rather than overflow.
    key.setInt("window_xpos", left);
    key.setInt("window_ypos", top);
    key.setInt("window_width", int32_t(uint32_t(right) - uint32_t(left)));
    key.setInt("window_height", int32_t(uint32_t(bottom) - uint32_t(top)));
    key.setInt("window_state", state);
    return key.closeKey();
}

bool loadWindowPlacement(WindowPlacement& placement, const std::string& root) {
    RegistryKey key(root);
    if (!key.openKey(SETTINGS_KEY)) return false;
    bool found = key.queryInt("window_state", placement.state);
    found = key.queryInt("window_xpos", placement.x) || found;
    found = key.queryInt("window_ypos", placement.y) || found;
    found = key.queryInt("window_width", placement.width) || found;
    found = key.queryInt("window_height", placement.height) || found;
    return found;
}

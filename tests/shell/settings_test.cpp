#include "shell/settings.h"

#include "analysis/fourier_options.h"
#include "aprox/aprox_options.h"
#include "generator/generator_parameters.h"
#include "kalman/kalman_options.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string storeFile(const TempDir& tmp) {
    return tmp.path() + "/KELVO/Ondarix/3.0.reg";
}

void scrambleRecords() {
    globalGeneratorParameters.czas_narastania = -99;
    globalGeneratorParameters.wspolczynnik_fio = -99;
    globalFourierOptions.inverse = 1;
    globalFourierOptions.tune_frequency = -99;
    globalKalmanOptions.model = -99;
    globalKalmanOptions.asymptotic = -99;
    globalAproxOptions.zero = -99;
}

// Writes raw values straight into the store, bypassing the records.
template <typename Fill> void writeStore(const TempDir& tmp, Fill fill) {
    RegistryKey key(tmp.path());
    ASSERT_TRUE(key.createKey(SETTINGS_KEY));
    fill(key);
    ASSERT_TRUE(key.closeKey());
}

// Compares four fields of two records by name, so a failure names the field.
#define EXPECT_SAME(x, y, f1, f2, f3, f4)                                                          \
    do {                                                                                           \
        EXPECT_EQ((x).f1, (y).f1) << #f1;                                                          \
        EXPECT_EQ((x).f2, (y).f2) << #f2;                                                          \
        EXPECT_EQ((x).f3, (y).f3) << #f3;                                                          \
        EXPECT_EQ((x).f4, (y).f4) << #f4;                                                          \
    } while (0)

// Lines that start with a value name, the first line of the file included.
int valueLines(const std::string& fileText) {
    std::string text = "\n" + fileText;
    int n = 0;
    for (size_t at = text.find("\n\""); at != std::string::npos; at = text.find("\n\"", at + 1))
        ++n;
    return n;
}

} // namespace

// Defaults as the settings tables give them.
TEST(Settings, MissingStoreGivesDefaultsAndCreatesNothing) {
    TempDir tmp;
    scrambleRecords();
    EXPECT_FALSE(loadSettings(tmp.path()));
    const GeneratorParameters& g = globalGeneratorParameters;
    EXPECT_EQ(g.czas_narastania, 5);
    EXPECT_EQ(g.czas_ustalony, 5);
    EXPECT_EQ(g.czas_zaniku, 5);
    EXPECT_EQ(g.okres_probkowania, 0.02);
    EXPECT_EQ(g.dlugosc_fali, 8.0);
    EXPECT_EQ(g.wysokosc_wody, 0.6);
    EXPECT_EQ(g.narastanie, 2.0);
    EXPECT_EQ(g.amplituda, 0.025);
    EXPECT_EQ(g.model_generacji, 1);
    EXPECT_EQ(g.wspolczynnik_xa, 0.3);
    EXPECT_EQ(g.wspolczynnik_w1, 0.231);
    EXPECT_EQ(g.wspolczynnik_w2, 0.044);
    EXPECT_EQ(g.wspolczynnik_w3, 0.0);
    EXPECT_EQ(g.wspolczynnik_fio, 3.141592653589793);
    EXPECT_EQ(g.wspolczynnik_cr, 0.05);
    EXPECT_EQ(g.wielkosc_grupy, 3.0);
    EXPECT_EQ(g.stopien_rozniczkowalnosci, 2);
    const FourierOptions& f = globalFourierOptions;
    EXPECT_EQ(f.inverse, 0);
    EXPECT_EQ(f.tuned, 0);
    EXPECT_EQ(f.tune_frequency, 100.0);
    EXPECT_EQ(f.limited, 0);
    EXPECT_EQ(f.limit_frequency, 500.0);
    EXPECT_EQ(f.plot_phase + f.line_plot, 0);
    const KalmanOptions& k = globalKalmanOptions;
    EXPECT_EQ(k.observation_error, 5.0);
    EXPECT_EQ(k.use_damp, 0);
    EXPECT_EQ(k.model, 3);
    EXPECT_EQ(k.estimate_error, 1);
    EXPECT_EQ(k.constant_period, 5.0);
    EXPECT_EQ(k.asymptotic, 0.00001);
    const AproxOptions& a = globalAproxOptions;
    EXPECT_EQ(a.use_ad + a.use_eta, 0);
    EXPECT_EQ(a.epsilon, 0.001);
    EXPECT_EQ(a.break_limit, 0.001);
    EXPECT_EQ(a.zero, 1e-14);
    EXPECT_FALSE(std::filesystem::exists(tmp.path() + "/KELVO"));
}

TEST(Settings, EveryPersistedValueRoundTrips) {
    TempDir tmp;
    loadSettings(tmp.path());
    // Distinct, non-default values inside every clamp.
    GeneratorParameters g{7,   8,   9,    0.01, 12.5, 0.75, 3.5, 0.04, 6,
                          0.2, 0.3, 0.05, 0.01, 1.5,  0.1,  4.0, 3,    9.9};
    FourierOptions f{1, 1, 250.5, 1, 750.25, 1, 1};
    KalmanOptions k{12.5, 1, 2, 0, 60.0, 0.002};
    AproxOptions a{1, 1, 0.5, 0.25, 1e-10};
    globalGeneratorParameters = g;
    globalFourierOptions = f;
    globalKalmanOptions = k;
    globalAproxOptions = a;
    ASSERT_TRUE(saveSettings(tmp.path()));
    EXPECT_EQ(valueLines(readString(storeFile(tmp))), 34);

    scrambleRecords();
    ASSERT_TRUE(loadSettings(tmp.path()));
    g.period = 0.0; // neither `period` nor `inverse` is persisted
    f.inverse = 0;
    const GeneratorParameters& G = globalGeneratorParameters;
    EXPECT_SAME(G, g, czas_narastania, czas_ustalony, czas_zaniku, okres_probkowania);
    EXPECT_SAME(G, g, dlugosc_fali, wysokosc_wody, narastanie, amplituda);
    EXPECT_SAME(G, g, model_generacji, wspolczynnik_xa, wspolczynnik_w1, wspolczynnik_w2);
    EXPECT_SAME(G, g, wspolczynnik_w3, wspolczynnik_fio, wspolczynnik_cr, wielkosc_grupy);
    EXPECT_SAME(G, g, stopien_rozniczkowalnosci, period, period, period);
    EXPECT_SAME(globalFourierOptions, f, inverse, tuned, tune_frequency, limited);
    EXPECT_SAME(globalFourierOptions, f, limit_frequency, plot_phase, line_plot, line_plot);
    EXPECT_SAME(globalKalmanOptions, k, observation_error, use_damp, model, estimate_error);
    EXPECT_SAME(globalKalmanOptions, k, constant_period, asymptotic, asymptotic, asymptotic);
    EXPECT_SAME(globalAproxOptions, a, use_ad, use_eta, epsilon, break_limit);
    EXPECT_SAME(globalAproxOptions, a, zero, zero, zero, zero);
}

// Each clamped value stored beyond both ends of its range comes back at that end.
TEST(Settings, LoadClampsAnalysisOptions) {
    TempDir tmp;
    writeStore(tmp, [](RegistryKey& key) {
        const char* flags[] = {"FourierTunned",   "FourierLimited", "FourierPlotPhase",
                               "FourierLinePlot", "KalmanUseDamp",  "KalmanEstimateError",
                               "AproxUseAD",      "AproxUseEta"};
        for (const char* name : flags)
            key.setInt(name, 2);
        key.setInt("KalmanModel", 7);
        key.setDouble("FourierTune", 500000.0);
        key.setDouble("FourierLimit", 1e6);
        key.setDouble("KalmanObservationError", 100.0);
        key.setDouble("KalmanConstantPeriod", 1e7);
        key.setDouble("KalmanAsymptotic", 150.0);
        key.setDouble("AproxEpsilon", 100.0);
        key.setDouble("AproxBreak", 1000.0);
        key.setDouble("AproxZero", 2.0);
    });
    ASSERT_TRUE(loadSettings(tmp.path()));
    const FourierOptions& f = globalFourierOptions;
    const KalmanOptions& k = globalKalmanOptions;
    const AproxOptions& a = globalAproxOptions;
    const int32_t highFlags[] = {f.tuned,    f.limited,        f.plot_phase, f.line_plot,
                                 k.use_damp, k.estimate_error, a.use_ad,     a.use_eta};
    for (int32_t v : highFlags)
        EXPECT_EQ(v, 1);
    EXPECT_EQ(k.model, 3);
    EXPECT_EQ(f.tune_frequency, 99999.9);
    EXPECT_EQ(f.limit_frequency, 99999.9);
    EXPECT_EQ(k.observation_error, 99.9);
    EXPECT_EQ(k.constant_period, 999999.9);
    EXPECT_EQ(k.asymptotic, 99.9);
    EXPECT_EQ(a.epsilon, 99.9);
    EXPECT_EQ(a.break_limit, 99.9);
    EXPECT_EQ(a.zero, 1.0);

    writeStore(tmp, [](RegistryKey& key) {
        const char* ints[] = {"FourierTunned",   "FourierLimited", "FourierPlotPhase",
                              "FourierLinePlot", "KalmanModel",    "KalmanEstimateError",
                              "KalmanUseDamp",   "AproxUseAD",     "AproxUseEta"};
        for (const char* name : ints)
            key.setInt(name, -1);
        const char* doubles[] = {
            "FourierTune",          "FourierLimit",     "KalmanObservationError",
            "KalmanConstantPeriod", "KalmanAsymptotic", "AproxEpsilon",
            "AproxBreak",           "AproxZero"};
        for (const char* name : doubles)
            key.setDouble(name, -5.0);
    });
    ASSERT_TRUE(loadSettings(tmp.path()));
    const int32_t lowInts[] = {f.tuned,          f.limited,  f.plot_phase, f.line_plot, k.model,
                               k.estimate_error, k.use_damp, a.use_ad,     a.use_eta};
    for (int32_t v : lowInts)
        EXPECT_EQ(v, 0);
    const double lowDoubles[] = {
        f.tune_frequency, f.limit_frequency, k.observation_error, k.constant_period,
        k.asymptotic,     a.epsilon,         a.break_limit,       a.zero};
    for (double v : lowDoubles)
        EXPECT_EQ(v, 0.0);
}

TEST(Settings, GeneratorValuesAreNotClampedAndNanPassesTheClamp) {
    TempDir tmp;
    writeStore(tmp, [](RegistryKey& key) {
        key.setInt("czas_narastania", -1);
        key.setInt("model_generacji", 99);
        key.setDouble("dlugosc_fali", -3.5);
        key.setDouble("KalmanObservationError", std::numeric_limits<double>::quiet_NaN());
    });
    ASSERT_TRUE(loadSettings(tmp.path()));
    EXPECT_EQ(globalGeneratorParameters.czas_narastania, -1);
    EXPECT_EQ(globalGeneratorParameters.model_generacji, 99);
    EXPECT_EQ(globalGeneratorParameters.dlugosc_fali, -3.5);
    EXPECT_TRUE(std::isnan(globalKalmanOptions.observation_error));
    EXPECT_EQ(globalKalmanOptions.model, 3); // absent: the default stays
}

// The dialogs accept more than the load keeps: saving writes what they accepted.
TEST(Settings, SaveWritesValuesUnclamped) {
    TempDir tmp;
    loadSettings(tmp.path());
    globalFourierOptions.tune_frequency = 500000.0;
    globalKalmanOptions.observation_error = 100.0;
    globalKalmanOptions.model = 5;
    ASSERT_TRUE(saveSettings(tmp.path()));
    RegistryKey key(tmp.path());
    ASSERT_TRUE(key.openKey(SETTINGS_KEY));
    double tune = 0, error = 0;
    int32_t model = 0;
    key.queryDouble("FourierTune", tune);
    key.queryDouble("KalmanObservationError", error);
    key.queryInt("KalmanModel", model);
    EXPECT_EQ(tune, 500000.0);
    EXPECT_EQ(error, 100.0);
    EXPECT_EQ(model, 5);
    loadSettings(tmp.path());
    EXPECT_EQ(globalFourierOptions.tune_frequency, 99999.9);
    EXPECT_EQ(globalKalmanOptions.observation_error, 99.9);
}

TEST(Settings, DamagedStoreLoadsWhatIsReadable) {
    TempDir tmp;
    writeString(storeFile(tmp), "\x01\x02garbage\n\"KalmanModel\"=dword:00000001\n"
                                "\"AproxZero\"=hex:9a,99,9\n\"czas_zaniku\"=dword:\n"
                                "\"FourierTune\"=hex:00,00,00,00,00,40,5f,40\n"); // 125.0
    ASSERT_TRUE(loadSettings(tmp.path()));
    EXPECT_EQ(globalKalmanOptions.model, 1);
    EXPECT_EQ(globalFourierOptions.tune_frequency, 125.0);
    EXPECT_EQ(globalAproxOptions.zero, 1e-14);
    EXPECT_EQ(globalGeneratorParameters.czas_zaniku, 5);
}

TEST(Settings, SaveKeepsValuesItDoesNotKnow) {
    TempDir tmp;
    writeString(storeFile(tmp), "\"FutureOption\"=dword:0000002a\n\"Blob\"=hex(7):41,00,00,00\n"
                                "\"KalmanModel\"=dword:00000002\n");
    loadSettings(tmp.path());
    ASSERT_TRUE(saveSettings(tmp.path()));
    std::string text = readString(storeFile(tmp));
    EXPECT_NE(text.find("\"FutureOption\"=dword:0000002a\n"), std::string::npos);
    EXPECT_NE(text.find("\"Blob\"=hex(7):41,00,00,00\n"), std::string::npos);
    EXPECT_NE(text.find("\"KalmanModel\"=dword:00000002\n"), std::string::npos);
    EXPECT_EQ(valueLines(text), 36);
}

TEST(Settings, WindowPlacementRoundTripsBesideTheOptions) {
    TempDir tmp;
    WindowPlacement placement{SHOW_NORMAL, 1, 2, 3, 4};
    EXPECT_FALSE(loadWindowPlacement(placement, tmp.path()));
    EXPECT_EQ(placement.x + placement.y + placement.width + placement.height, 10);

    ASSERT_TRUE(saveWindowPlacement(SHOW_MAXIMIZED, 10, 20, 810, 620, tmp.path()));
    loadSettings(tmp.path());
    ASSERT_TRUE(saveSettings(tmp.path())); // the later save keeps the placement
    ASSERT_TRUE(loadWindowPlacement(placement, tmp.path()));
    EXPECT_EQ(placement.state, SHOW_MAXIMIZED);
    EXPECT_EQ(placement.x, 10);
    EXPECT_EQ(placement.y, 20);
    EXPECT_EQ(placement.width, 800); // right - left
    EXPECT_EQ(placement.height, 600);
    EXPECT_EQ(valueLines(readString(storeFile(tmp))), 39);
}

TEST(Settings, SaveFailsCleanlyWhenTheStoreCannotBeWritten) {
    TempDir tmp;
    writeString(tmp.path() + "/KELVO", "a file where the directory belongs");
    SaveStatus options = saveSettings(tmp.path());
    EXPECT_FALSE(options);
    EXPECT_NE(options.reason.find(tmp.path() + "/KELVO/Ondarix"), std::string::npos)
        << options.reason;
    EXPECT_FALSE(saveWindowPlacement(SHOW_NORMAL, 0, 0, 1, 1, tmp.path()));
    EXPECT_EQ(readString(tmp.path() + "/KELVO"), "a file where the directory belongs");
}

// The program's list of features as the settings store sees it: the records
// each feature registers must keep the value order stores were always written
// in, so that a new store reads the same as one written by earlier versions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/settings.h"
#include "support/temp_dir.h"

namespace {

// The value names of a store file, in the order of their lines.
std::vector<std::string> storedNames(const std::string& text) {
    std::vector<std::string> names;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (text[at] == '"') names.push_back(text.substr(at + 1, text.find('"', at + 1) - at - 1));
        at = end + 1;
    }
    return names;
}

} // namespace

TEST(Features, ANewStoreListsTheOptionsInTheirLongStandingOrder) {
    TempDir tmp;
    loadSettings(tmp.path());
    ASSERT_TRUE(saveSettings(tmp.path()));
    // Generator, Fourier, Kalman, approximation: the order of every store
    // written since the options were first saved.
    const std::vector<std::string> expected = {
        "czas_narastania",
        "czas_ustalony",
        "czas_zaniku",
        "okres_probkowania",
        "dlugosc_fali",
        "wysokosc_wody",
        "narastanie",
        "amplituda",
        "wspolczynnik_xa",
        "wspolczynnik_w1",
        "wspolczynnik_w2",
        "wspolczynnik_w3",
        "wspolczynnik_fio",
        "wspolczynnik_cr",
        "wielkosc_grupy",
        "model_generacji",
        "stopien_rozniczkowalnosci",
        "FourierTunned",
        "FourierTune",
        "FourierLimited",
        "FourierLimit",
        "FourierPlotPhase",
        "FourierLinePlot",
        "KalmanModel",
        "KalmanEstimateError",
        "KalmanObservationError",
        "KalmanConstantPeriod",
        "KalmanAsymptotic",
        "KalmanUseDamp",
        "AproxUseAD",
        "AproxUseEta",
        "AproxEpsilon",
        "AproxBreak",
        "AproxZero",
    };
    EXPECT_EQ(storedNames(readString(tmp.path() + "/KELVO/Ondarix/3.0.reg")), expected);
}

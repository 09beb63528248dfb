// The shell's tests run the settings store with the program's own option
// records, registered as their features do at start-up.
#include <gtest/gtest.h>

#include "analysis/fourier_options.h"
#include "aprox/aprox_options.h"
#include "generator/generator_parameters.h"
#include "kalman/kalman_options.h"

namespace {

class SettingsRecords : public ::testing::Environment {
  public:
    void SetUp() override {
        registerGeneratorSettings();
        registerFourierSettings();
        registerKalmanSettings();
        registerAproxSettings();
    }
};

const auto* const records = ::testing::AddGlobalTestEnvironment(new SettingsRecords);

} // namespace

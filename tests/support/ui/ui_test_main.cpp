// The widget tests' main: one QApplication on the offscreen platform for the
// whole run, numbers in the "C" locale as in the program, and a settings
// store and state folder of its own so that no test touches the user's.
#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>
#include <cstdlib>

#include "app/features.h"
#include "support/temp_dir.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    // Recovery copies, like the settings, stay out of the user's folders.
    TempDir state;
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    registerFeatures();
    return RUN_ALL_TESTS();
}

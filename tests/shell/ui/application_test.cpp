// The run around the message loop: start-up in its order, the command-line
// file, and what is kept for the next run.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>
#include <string>

#include "frame_test_support.h"
#include "kalman/kalman_options.h"
#include "measure/int_format.h"
#include "shell/settings.h"
#include "shell/ui/application.h"
#include "shell/ui/main_frame.h"
#include "support/temp_dir.h"
#include "view/ui/measure_wnd.h"

namespace {

// Points the settings store at a fresh directory for one test.
class ConfigScope {
  public:
    ConfigScope() : previous_(std::getenv("XDG_CONFIG_HOME")) {
        setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    }
    ~ConfigScope() { setenv("XDG_CONFIG_HOME", previous_.c_str(), 1); }
    const TempDir& dir() const { return dir_; }

  private:
    std::string previous_;
    TempDir dir_;
};

} // namespace

class ApplicationTest : public ::testing::Test {
  protected:
    void SetUp() override { dialogScript::begin(); }
    void TearDown() override {
        settle();
        dialogScript::end();
    }
    ConfigScope config;
};

TEST(CommandLineTest, ArgumentsMakeOnePathAndQuotesAreDropped) {
    EXPECT_EQ(commandLineText({"ondarix"}), QString());
    EXPECT_EQ(commandLineText({"ondarix", "/data/run 1.INT"}), QStringLiteral("/data/run 1.INT"));
    EXPECT_EQ(commandLineText({"ondarix", "/data/run", "1.INT"}),
              QStringLiteral("/data/run 1.INT"));
    EXPECT_EQ(commandLineText({"ondarix", "\"/data/run 1.INT\""}),
              QStringLiteral("/data/run 1.INT"));
    EXPECT_EQ(commandLineText({"ondarix", "\""}), QStringLiteral("\""));
}

TEST_F(ApplicationTest, FirstRunTakesTheDefaultSize) {
    OndarixApp app;
    ASSERT_TRUE(app.startUp(QString()));
    QSize expected = QGuiApplication::primaryScreen()->availableSize() * 3 / 4;
    EXPECT_EQ(app.frame()->size(), expected);
    EXPECT_TRUE(app.frame()->isVisible());
    EXPECT_TRUE(app.frame()->children().isEmpty());
    app.finish();
}

TEST_F(ApplicationTest, PlacementAndOptionsAreKeptForTheNextRun) {
    {
        OndarixApp app;
        ASSERT_TRUE(app.startUp(QString()));
        app.frame()->setGeometry(30, 40, 640, 480);
        globalKalmanOptions.observation_error = 12.5;
        app.frame()->close();
        app.finish();
    }
    WindowPlacement stored;
    ASSERT_TRUE(loadWindowPlacement(stored));
    EXPECT_EQ(stored.state, SHOW_NORMAL);
    EXPECT_EQ(stored.width, 640);
    EXPECT_EQ(stored.height, 480);

    globalKalmanOptions.observation_error = 9.0;
    OndarixApp again;
    ASSERT_TRUE(again.startUp(QString()));
    EXPECT_EQ(globalKalmanOptions.observation_error, 12.5);
    EXPECT_EQ(again.frame()->geometry(), QRect(30, 40, 640, 480));
    again.finish();
}

TEST_F(ApplicationTest, OptionsThatCannotBeSavedAreReported) {
    OndarixApp app;
    ASSERT_TRUE(app.startUp(QString()));
    std::string blocked = config.dir().file("KELVO");
    writeString(blocked, "a file where the settings directory belongs");
    app.finish();
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].startsWith("The settings were not saved."));
    EXPECT_TRUE(dialogScript::messages()[0].contains(QString::fromStdString(blocked)))
        << dialogScript::messages()[0].toStdString();
}

TEST_F(ApplicationTest, AMaximisedFrameReopensMaximisedOverItsNormalRectangle) {
    ASSERT_TRUE(saveWindowPlacement(SHOW_MAXIMIZED, 20, 30, 520, 430));
    OndarixApp app;
    ASSERT_TRUE(app.startUp(QString()));
    settle();
    EXPECT_TRUE(app.frame()->isMaximized());
    EXPECT_EQ(app.frame()->normalGeometry(), QRect(20, 30, 500, 400));
    app.finish();
}

// The command line reads by extension (unknown ones as .INT), so that a file
// manager can open any measurement; a file that cannot be read is said.
TEST_F(ApplicationTest, CommandLineOpensByExtensionAndSaysWhatItCannotRead) {
    std::unique_ptr<CMeasure> m(makeMeasure(2, 30));
    const std::string good = config.dir().file("start 1.INT");
    ASSERT_TRUE(writeInt(*m, good.c_str()));
    {
        OndarixApp app;
        ASSERT_TRUE(app.startUp(QString::fromStdString(good)));
        ASSERT_EQ(app.frame()->children().size(), 1);
        auto* w = dynamic_cast<CMeasureWnd*>(app.frame()->children().first());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->measure->sampleCount, 30);
        app.finish();
    }
    {
        const std::string text = config.dir().file("start.TXT");
        writeString(text, "0\t1\r\n1\t2\r\n");
        OndarixApp app;
        ASSERT_TRUE(app.startUp(QString::fromStdString(text)));
        EXPECT_EQ(app.frame()->children().size(), 1);
        app.finish();
    }
    OndarixApp app;
    ASSERT_TRUE(app.startUp(QStringLiteral("/nonexistent.INT")));
    EXPECT_TRUE(app.frame()->children().isEmpty());
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(
        dialogScript::messages()[0].startsWith("/nonexistent.INT: not a readable .int file"))
        << dialogScript::messages()[0].toStdString();
    app.finish();
}

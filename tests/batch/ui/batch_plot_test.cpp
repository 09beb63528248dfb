// `ondarix-batch plot`: pictures read back at their size, with the chosen
// channels, the same as the desktop export of the same range.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <string>
#include <vector>

#include "frame_test_support.h"
#include "picture_checks.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"
#include "view/ui/view_dialog_templates.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

class BatchPlotTest : public FrameTest {
  protected:
    TempDir dir;
};

// `ondarix-batch plot` draws without a window what the window would show.

TEST_F(BatchPlotTest, ThePngReadsBackAtItsSizeWithTheChosenChannels) {
    std::string out = dir.file("two.png");
    CommandResult r = runBatch({"plot", SAMPLE_FILE, "--channel", "1,3", "--from", "500", "--to",
                                "2500", "--width", "700", "--height", "420", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QImage image(q(out));
    ASSERT_EQ(image.size(), QSize(700, 420));
    EXPECT_EQ(bandRuns(image), 4);

    out = dir.file("all.png");
    r = runBatch({"plot", SAMPLE_FILE, "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QImage all(q(out));
    EXPECT_EQ(all.size(), QSize(1200, 800));
    EXPECT_EQ(bandRuns(all), 8); // the sample's four channels
}

TEST_F(BatchPlotTest, ThePictureIsTheDesktopExportOfTheSameRange) {
    CMeasureWnd* w = openMeasureWindow(*frame, readSample());
    ASSERT_NE(w, nullptr);
    settle();
    // A fresh window shows channel 0 from sample 0, one channel a screen.
    const int32_t visible = w->view->visible_samples;
    dialogScript::pushFile(q(dir.file("desktop.png")), 1);
    dialogScript::pushDialog([](ScriptedDialog& d) {
        d.setText(IDC_EXPORT_WIDTH, "800");
        d.setText(IDC_EXPORT_HEIGHT, "400");
        d.press(1);
    });
    frame->frameCommand(CMD_EXPORT_PLOT, 0);
    std::string out = dir.file("batch.png");
    CommandResult r =
        runBatch({"plot", SAMPLE_FILE, "--channel", "0", "--from", "0", "--to",
                  std::to_string(visible), "--width", "800", "--height", "400", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QImage desktop(q(dir.file("desktop.png")));
    QImage batch(q(out));
    ASSERT_FALSE(desktop.isNull());
    EXPECT_TRUE(desktop == batch);
}

TEST_F(BatchPlotTest, SvgAndPdfOpenAtTheirSize) {
    std::string svg = dir.file("p.svg"), pdf = dir.file("p.pdf");
    ASSERT_EQ(
        runBatch({"plot", SAMPLE_FILE, "--width", "300", "--height", "200", "-o", svg}).exitCode,
        0);
    ASSERT_EQ(
        runBatch({"plot", SAMPLE_FILE, "--width", "300", "--height", "200", "-o", pdf}).exitCode,
        0);
    expectSvgOfSize(svg, QSize(300, 200));
    expectPdfOfSize(pdf, QSize(300, 200));
}

TEST_F(BatchPlotTest, BadArgumentsAndInputsFailWithOneLine) {
    std::string out = dir.file("x.png");
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    const Case cases[] = {
        {{"plot", SAMPLE_FILE, "--channel", "9", "-o", out}, 1},
        {{"plot", SAMPLE_FILE, "--from", "300", "--to", "200", "-o", out}, 1},
        {{"plot", SAMPLE_FILE, "--to", "999999999", "-o", out}, 1},
        {{"plot", dir.file("none.INT"), "-o", out}, 1},
        {{"plot", SAMPLE_FILE, "-o", dir.file("x.jpg")}, 2},
        {{"plot", SAMPLE_FILE, "--channel", "1;2", "-o", out}, 2},
        {{"plot", SAMPLE_FILE, "--width", "20", "-o", out}, 2},
        {{"plot", SAMPLE_FILE}, 2},
    };
    for (const Case& c : cases) {
        CommandResult r = runBatch(c.args);
        EXPECT_EQ(r.exitCode, c.code) << r.err;
        EXPECT_EQ(r.err.rfind("ondarix-batch: ", 0), 0u) << r.err;
        if (c.code == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
    EXPECT_FALSE(QFile::exists(q(out)));
}

// `plot -o x.svg` onto a full disk used to exit 0 with a quarter of the picture.
TEST_F(BatchPlotTest, AFailedWriteExitsOneAndKeepsTheOldPicture) {
    for (const char* name : {"old.png", "old.svg", "old.pdf"}) {
        const std::string out = dir.file(name);
        writeString(out, "the old picture");
        // The shell lets files grow to a KiB or two and ignores the signal,
        // so the write fails part-way as on a full disk.
        CommandResult r =
            runCommand("/bin/sh", {"-c", "trap '' XFSZ; ulimit -f 2; exec \"$0\" \"$@\"",
                                   ONDARIX_BATCH, "plot", SAMPLE_FILE, "-o", out});
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        const std::vector<unsigned char> kept = readBytes(out);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), "the old picture");
    }
}

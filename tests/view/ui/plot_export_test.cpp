// File -> "Export plot...": pictures that open in their format at the chosen
// size and show what the window shows.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frame_test_support.h"
#include "measure/measure_file.h"
#include "picture_checks.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"
#include "view/ui/plot_painter.h"
#include "view/ui/view_dialog_templates.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// What the window shows: its view painted at its own client size.
QImage windowPicture(const CMeasureView& view) {
    QImage image(view.client_width, view.client_height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlotPainter(view).paint(painter);
    return image;
}

} // namespace

class PlotExportTest : public FrameTest {
  protected:
    // Exports through the file dialog (`name`, filter) and the size dialog.
    void exportAs(const std::string& name, int filterIndex, int width, int height) {
        dialogScript::pushFile(q(name), filterIndex);
        dialogScript::pushDialog([=](ScriptedDialog& d) {
            d.setText(IDC_EXPORT_WIDTH, QString::number(width));
            d.setText(IDC_EXPORT_HEIGHT, QString::number(height));
            d.press(1);
        });
        frame->frameCommand(CMD_EXPORT_PLOT, 0);
    }
    TempDir dir;
};

TEST_F(PlotExportTest, EachTypeOpensInItsFormatAtTheChosenSize) {
    openMeasureWindow(*frame, makeMeasure(3, 400));
    exportAs(dir.file("plot"), 1, 640, 360);
    exportAs(dir.file("plot"), 2, 640, 360);
    exportAs(dir.file("plot"), 3, 640, 360);
    EXPECT_TRUE(dialogScript::messages().isEmpty())
        << dialogScript::messages().join('\n').toStdString();

    QImage png(q(dir.file("plot.png")));
    EXPECT_EQ(png.size(), QSize(640, 360));
    expectSvgOfSize(dir.file("plot.svg"), QSize(640, 360));
    expectPdfOfSize(dir.file("plot.pdf"), QSize(640, 360));
}

TEST_F(PlotExportTest, APictureAtTheWindowsSizeIsWhatTheWindowShows) {
    CMeasureWnd* w = openMeasureWindow(*frame, readSample());
    ASSERT_NE(w, nullptr);
    settle();
    CMeasureView& view = *w->view;
    // Somewhere in the middle, zoomed in, two channels a screen.
    view.ZoomX(+1);
    view.ZoomY(-1);
    view.scroll_x = 777;
    view.scroll_y = 150;
    view.Layout();
    const QImage shown = windowPicture(view);

    QString proposedWidth, proposedHeight;
    dialogScript::pushFile(q(dir.file("same.png")), 1);
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        proposedWidth = d.text(IDC_EXPORT_WIDTH);
        proposedHeight = d.text(IDC_EXPORT_HEIGHT);
        d.press(1);
    });
    frame->frameCommand(CMD_EXPORT_PLOT, 0);
    EXPECT_EQ(proposedWidth, QString::number(view.client_width));
    EXPECT_EQ(proposedHeight, QString::number(view.client_height));
    // The export was proposed under the measurement's name.
    ASSERT_FALSE(dialogScript::fileRequests().isEmpty());
    EXPECT_TRUE(dialogScript::fileRequests().last().fileName.endsWith("flume_sample.png"));
    // The dialog adds no measurement extension to a bare name ("view.INT.png").
    EXPECT_TRUE(dialogScript::fileRequests().last().defaultSuffix.isEmpty());
    QImage written(q(dir.file("same.png")));
    ASSERT_FALSE(written.isNull());
    EXPECT_TRUE(written.convertToFormat(QImage::Format_RGB32) == shown);
}

TEST_F(PlotExportTest, ASizeOutsideTheLimitsKeepsTheDialogOpen) {
    openMeasureWindow(*frame, makeMeasure(1, 100));
    bool endedOnTiny = true, endedOnHuge = true;
    QString hint;
    dialogScript::pushFile(q(dir.file("refused.png")), 1);
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        d.setText(IDC_EXPORT_WIDTH, "10");
        d.press(1);
        endedOnTiny = d.ended();
        hint = d.hint();
        d.setText(IDC_EXPORT_WIDTH, "640");
        d.setText(IDC_EXPORT_HEIGHT, "90000");
        d.press(1);
        endedOnHuge = d.ended();
        d.press(2);
    });
    frame->frameCommand(CMD_EXPORT_PLOT, 0);
    EXPECT_FALSE(endedOnTiny);
    EXPECT_FALSE(endedOnHuge);
    EXPECT_FALSE(hint.isEmpty());
    EXPECT_FALSE(QFile::exists(q(dir.file("refused.png"))));
}

TEST_F(PlotExportTest, NothingToExportIsSaidAndAFailedWriteShown) {
    frame->frameCommand(CMD_EXPORT_PLOT, 0); // no window: nothing asked
    EXPECT_TRUE(dialogScript::fileRequests().isEmpty());

    openMeasureWindow(*frame, makeMeasure(2, 0));
    frame->frameCommand(CMD_EXPORT_PLOT, 0);
    EXPECT_TRUE(dialogScript::fileRequests().isEmpty());
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].contains("no samples"));

    openMeasureWindow(*frame, makeMeasure(2, 50));
    exportAs(dir.file("missing/dir/plot.png"), 1, 200, 100);
    ASSERT_EQ(dialogScript::messages().size(), 2);
    EXPECT_TRUE(dialogScript::messages()[1].contains("missing/dir/plot.png"));
}

TEST_F(PlotExportTest, TheFileMenuItemExportsTheActiveWindow) {
    // Through the menu as a user reaches it: File, then the item.
    openMeasureWindow(*frame, makeMeasure(2, 50));
    dialogScript::pushFile(q(dir.file("menu")), 1);
    dialogScript::pushDialog([](ScriptedDialog& d) { d.press(1); });
    QAction* item = nullptr;
    for (QAction* a : frame->findChildren<QAction*>())
        if (a->text().startsWith("&Export plot...")) item = a;
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_TRUE(QFile::exists(q(dir.file("menu.png"))));
}

// The type's extension is added after the dialog; the picture it would
// replace is asked about under that name, before the size is, and No keeps it.
TEST_F(PlotExportTest, ExportingOverAPictureAsksAndNoKeepsIt) {
    openMeasureWindow(*frame, makeMeasure(3, 400));
    const std::string path = dir.file("plot.png");
    writeString(path, "the old picture");
    dialogScript::pushFile(q(dir.file("plot")), 1);
    frame->frameCommand(CMD_EXPORT_PLOT, 0); // unscripted: No, and no size asked
    EXPECT_EQ(dialogScript::questions(), QStringList("plot.png already exists. Replace it?"));
    const std::vector<unsigned char> kept = readBytes(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the old picture");

    dialogScript::pushAnswer(true);
    exportAs(dir.file("plot"), 1, 640, 360);
    EXPECT_EQ(dialogScript::questions().size(), 2);
    EXPECT_EQ(QImage(q(path)).size(), QSize(640, 360));
}

// Qt's SVG and PDF writers do not report a failed write: onto a full disk an
// export used to say nothing and leave a cut picture over the old one.
TEST_F(PlotExportTest, AFailedWriteIsShownAndTheOldPictureKept) {
    openMeasureWindow(*frame, makeMeasure(3, 400));
    const char* const names[] = {"old.png", "old.svg", "old.pdf"};
    for (int filter = 1; filter <= 3; ++filter) {
        const std::string path = dir.file(names[filter - 1]);
        writeString(path, "the old picture");
        {
            FileSizeLimit limit(2048);      // the write fails part-way, as on a full disk
            dialogScript::pushAnswer(true); // replace it
            exportAs(path, filter, 640, 360);
        }
        ASSERT_EQ(dialogScript::messages().size(), filter) << path;
        EXPECT_TRUE(dialogScript::messages().last().contains("File too large"))
            << dialogScript::messages().last().toStdString();
        const std::vector<unsigned char> kept = readBytes(path);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), "the old picture");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              3);
}

// File -> "Report...": the active window's measurement, over its block,
// written as the command line writes it, then handed to the desktop to open.
#include <gtest/gtest.h>

#include <QString>
#include <QUrl>

#include <string>

#include "frame_test_support.h"
#include "shell/command_ids.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

CMeasure* readSample() {
    auto m = std::make_unique<CMeasure>();
    if (!readMeasure(*m, SAMPLE_FILE, FileType::Int, nullptr)) return nullptr;
    return m.release();
}

// The report from the first gauge on: the tables and plots, not the file's name.
std::string fromFirstGauge(const std::string& html) {
    const size_t at = html.find("<h3>Channel 0");
    return at == std::string::npos ? std::string() : html.substr(at);
}

} // namespace

class ReportMenuTest : public FrameTest {
  protected:
    TempDir dir;
};

TEST_F(ReportMenuTest, TheBlockIsTheAnalysedRangeAndTheReportIsOpened) {
    CMeasureWnd* w = openMeasureWindow(*frame, readSample());
    ASSERT_NE(w, nullptr);
    settle();
    w->view->SetBlock(1, 3000, 1000); // dragged leftwards
    const std::string path = dir.file("run.html");
    dialogScript::pushFile(QString::fromStdString(path), 1);
    frame->frameCommand(CMD_REPORT, 0);

    const std::string desktop = readString(path);
    EXPECT_NE(desktop.find("<td>1000..3000 of 4096</td>"), std::string::npos);
    const std::string batchPath = dir.file("batch.html");
    CommandResult r =
        runBatch({"report", SAMPLE_FILE, "--from", "1000", "--to", "3000", "-o", batchPath});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_FALSE(fromFirstGauge(desktop).empty());
    EXPECT_EQ(fromFirstGauge(desktop), fromFirstGauge(readString(batchPath)));
    ASSERT_EQ(dialogScript::openedUrls().size(), 1);
    EXPECT_EQ(dialogScript::openedUrls()[0], QUrl::fromLocalFile(QString::fromStdString(path)));
    EXPECT_TRUE(dialogScript::messages().isEmpty());
}

TEST_F(ReportMenuTest, ABareNameTakesTheChosenTypesExtension) {
    CMeasureWnd* w = openMeasureWindow(*frame, readSample());
    ASSERT_NE(w, nullptr);
    settle();
    dialogScript::pushFile(QString::fromStdString(dir.file("run")), 2);
    frame->frameCommand(CMD_REPORT, 0);
    EXPECT_EQ(readString(dir.file("run.pdf")).substr(0, 5), "%PDF-");
    ASSERT_EQ(dialogScript::openedUrls().size(), 1);
    EXPECT_TRUE(dialogScript::openedUrls()[0].path().endsWith(QStringLiteral("run.pdf")));
}

// The frame's command handler: what it forwards to the active child, what it
// does itself, and what it leaves alone.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <utility>
#include <vector>

#include "frame_test_support.h"
#include "shell/ui/mdi_child_wnd.h"

namespace {

// A child that records the commands it receives.
class RecordingChild : public CMDIChildWnd {
  public:
    explicit RecordingChild(std::vector<std::pair<int, intptr_t>>* log) : log_(log) {}
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override {
        return createChild(MEASURE_CLASS, QStringLiteral("recorder"), parent, x, y, width, height,
                           style);
    }
    intptr_t OnCommand(int id, intptr_t param) override {
        log_->emplace_back(id, param);
        if (id == CMD_GET_BLOCK) *reinterpret_cast<BlockRange*>(param) = {1, 5, 9};
        return id + 1;
    }
    void OnDestroy() override { log_->emplace_back(-1, 0); }

  private:
    std::vector<std::pair<int, intptr_t>>* log_;
};

} // namespace

class FrameCommandsTest : public FrameTest {
  protected:
    RecordingChild* addChild() {
        auto* child = new RecordingChild(&log);
        EXPECT_FALSE(child->Create(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   frame->mdiClient(), 0));
        settle();
        log.clear();
        return child;
    }
    std::vector<std::pair<int, intptr_t>> log;
};

TEST_F(FrameCommandsTest, ChildCommandsReachTheActiveChildUnchanged) {
    addChild();
    const int forwarded[] = {106, 163, 193, 200, 201, 202, 203, 204, 206, 207, 212, 213,
                             215, 217, 218, 219, 220, 221, 222, 223, 224, 278, 279};
    for (int id : forwarded)
        EXPECT_EQ(frame->frameCommand(id, 4711), id + 1) << id;
    ASSERT_EQ(log.size(), std::size(forwarded));
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].first, forwarded[i]);
        EXPECT_EQ(log[i].second, 4711);
    }
}

TEST_F(FrameCommandsTest, KeysWithoutHandlerAndUnknownIdsDoNothing) {
    addChild();
    for (int id : {194, 195, 1000 + 7, 4242})
        frame->frameCommand(id, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(frame->children().size(), 1);
}

TEST_F(FrameCommandsTest, ChildCommandsWithoutChildDoNothing) {
    for (int id : {193, 278, 279, 154, 126, 124})
        EXPECT_EQ(frame->frameCommand(id, 0), 0);
    EXPECT_TRUE(dialogScript::fileRequests().isEmpty()); // no save dialog either
    EXPECT_EQ(frame->commands().childBlock().to, 0);
    EXPECT_EQ(frame->commands().childMeasure(), nullptr);
}

TEST_F(FrameCommandsTest, QueriesAskTheActiveChild) {
    addChild();
    BlockRange block = frame->commands().childBlock();
    EXPECT_EQ(block.channel, 1);
    EXPECT_EQ(block.from, 5);
    EXPECT_EQ(block.to, 9);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, CMD_GET_BLOCK);
}

TEST_F(FrameCommandsTest, CloseOfTheWindowMenuClosesTheActiveChildOnly) {
    addChild();
    addChild();
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    EXPECT_EQ(frame->children().size(), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), std::pair<int, intptr_t>(-1, 0)), 1);
}

TEST_F(FrameCommandsTest, ExitClosesTheFrame) {
    frame->frameCommand(CMD_EXIT, 0);
    EXPECT_TRUE(frame->isVisible()); // posted, as a close message is
    settle();
    EXPECT_FALSE(frame->isVisible());
}

// One case, so that no other test sees the manual come and go beside the
// test program.
TEST_F(FrameCommandsTest, HelpOpensTheManualOrSaysWhyNot) {
    const QString manual = QCoreApplication::applicationDirPath() + "/ondarix-manual.html";
    QFile::remove(manual);
    frame->frameCommand(CMD_HELP_CONTENTS, 0);
    EXPECT_TRUE(dialogScript::openedUrls().isEmpty());
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].contains("ondarix-manual.html"));

    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body>manual</body></html>");
    file.close();
    frame->frameCommand(CMD_HELP_CONTENTS, 0);
    ASSERT_EQ(dialogScript::openedUrls().size(), 1);
    EXPECT_EQ(dialogScript::openedUrls()[0].toLocalFile(), manual);
    EXPECT_EQ(dialogScript::messages().size(), 1);

    // A desktop without a program for HTML.
    dialogScript::setOpenUrlResult(false);
    frame->frameCommand(CMD_HELP_CONTENTS, 0);
    ASSERT_EQ(dialogScript::messages().size(), 2);
    EXPECT_TRUE(dialogScript::messages()[1].contains(manual));
    QFile::remove(manual);
}

TEST_F(FrameCommandsTest, AboutShowsDialog104) {
    QString title;
    QStringList texts;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        title = d.title();
        for (QLabel* label : d.dialog()->findChildren<QLabel*>())
            texts << label->text();
        d.press(1);
    });
    frame->frameCommand(CMD_ABOUT, 0);
    EXPECT_EQ(title, QStringLiteral("About"));
    EXPECT_TRUE(texts.contains(QStringLiteral("ONDARIX  ver. 3.2")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Windows 95 version")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Data Analysis")));
}

TEST_F(FrameCommandsTest, SignalPopupCommandsGoThroughTheFrame) {
    addChild();
    dialogScript::pushPopup(CMD_SELECT_ALL);
    dialogScript::pushPopup(0); // dismissed
    trackSignalPopup(frame->mdiClient(), QPoint(10, 10));
    trackSignalPopup(frame->mdiClient(), QPoint(10, 10));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, CMD_SELECT_ALL);
}

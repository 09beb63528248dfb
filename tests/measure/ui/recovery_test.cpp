// Recovery copies of unsaved measurement windows: when a copy is written,
// when it goes (saved, taken back, closed, a normal end), and what the next
// start offers and restores.
#include <gtest/gtest.h>

#include <QMdiArea>

#include <chrono>
#include <memory>
#include <string>

#include "frame_test_support.h"
#include "measure/recovery_format.h"
#include "measure/ui/recovery_keeper.h"
#include "measure/ui/recovery_offer.h"
#include "support/temp_dir.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

using namespace std::chrono_literals;

namespace {

// The recovery copy at `path`; null when there is none.
std::unique_ptr<CMeasure> readCopy(const std::string& path) {
    auto m = std::make_unique<CMeasure>();
    FileType type;
    if (path.empty() || !readRecoveryFile(*m, &type, path)) return nullptr;
    return m;
}

// Whether rows [from, to) of `channel` are zero and the row before is not.
bool erased(const CMeasure& m, int channel, int from, int to) {
    if (m.value(channel, from - 1) == 0.0f) return false;
    for (int j = from; j < to; ++j)
        if (m.value(channel, j) != 0.0f) return false;
    return true;
}

} // namespace

class RecoveryTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        // The timer stays out of the way; the test says when the keeper looks.
        keeper = new RecoveryKeeper(*frame, RecoveryStore(folder()), std::chrono::hours(1), 30s);
    }
    std::string folder() const { return state.file("ondarix"); }
    int copies() const { return countEntries(folder()); }

    CMeasureWnd* open(const char* path = "/data/run.INT") {
        CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(2, 500, 10.0, path));
        settle();
        return w;
    }
    // Edit -> Block erease on `w`'s channel 1, rows [from, to).
    void erase(CMeasureWnd* w, int from, int to) {
        frame->mdiClient()->setActiveSubWindow(w->subWindow());
        w->view->SetBlock(1, from, to);
        frame->frameCommand(CMD_BLOCK_ERASE, 0);
    }
    // Lets the look the command asked for run and its copy be written.
    void copyNow() {
        settle();
        keeper->finishWriting();
        settle();
    }

    TempDir state;
    RecoveryKeeper* keeper = nullptr;
};

TEST_F(RecoveryTest, AChangedWindowIsCopiedWhenItChangesAtMostEveryThirtySeconds) {
    CMeasureWnd* w = open();
    const auto start = RecoveryKeeper::Clock::now();
    keeper->keep(start);
    keeper->finishWriting();
    EXPECT_EQ(copies(), 0) << "an unchanged window has nothing to recover";

    erase(w, 100, 200);
    copyNow();
    std::unique_ptr<CMeasure> copy = readCopy(keeper->copyOf(*w));
    ASSERT_TRUE(copy);
    EXPECT_TRUE(erased(*copy, 1, 100, 200));
    EXPECT_STREQ(copy->path, "/data/run.INT");
    EXPECT_EQ(copies(), 1);

    // A second change within the spacing waits for it.
    erase(w, 300, 350);
    copyNow();
    keeper->keep(start + 10s);
    keeper->finishWriting();
    EXPECT_FALSE(erased(*readCopy(keeper->copyOf(*w)), 1, 300, 350));
    keeper->keep(RecoveryKeeper::Clock::now() + 31s);
    keeper->finishWriting();
    copy = readCopy(keeper->copyOf(*w));
    ASSERT_TRUE(copy);
    EXPECT_TRUE(erased(*copy, 1, 300, 350));
    EXPECT_TRUE(erased(*copy, 1, 100, 200));
    EXPECT_EQ(copies(), 1);
}

TEST_F(RecoveryTest, TwoWindowsKeepTwoCopies) {
    CMeasureWnd* first = open("/data/a.INT");
    CMeasureWnd* second = open("/data/b.INT");
    erase(first, 10, 20);
    copyNow();
    erase(second, 30, 40);
    copyNow();
    ASSERT_FALSE(keeper->copyOf(*first).empty());
    ASSERT_FALSE(keeper->copyOf(*second).empty());
    EXPECT_NE(keeper->copyOf(*first), keeper->copyOf(*second));
    EXPECT_STREQ(readCopy(keeper->copyOf(*second))->path, "/data/b.INT");
}

TEST_F(RecoveryTest, SavingOrTakingTheChangeBackRemovesTheCopy) {
    TempDir out;
    CMeasureWnd* w = open();
    erase(w, 100, 200);
    copyNow();
    ASSERT_EQ(copies(), 1);
    dialogScript::pushFile(QString::fromStdString(out.file("saved.INT")), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    settle();
    EXPECT_FALSE(w->isModified());
    EXPECT_EQ(copies(), 0);

    // Changed again: copied again once the spacing since the last copy has passed.
    erase(w, 300, 310);
    copyNow();
    EXPECT_EQ(copies(), 0);
    keeper->keep(RecoveryKeeper::Clock::now() + 31s);
    keeper->finishWriting();
    ASSERT_EQ(copies(), 1);
    frame->frameCommand(CMD_UNDO, 0);
    settle();
    EXPECT_FALSE(w->isModified());
    EXPECT_EQ(copies(), 0) << "the saved file holds what the window shows again";
}

TEST_F(RecoveryTest, ClosingWithoutSavingRemovesTheCopyEvenOneBeingWritten) {
    CMeasureWnd* w = open();
    erase(w, 100, 200);
    copyNow();
    ASSERT_EQ(copies(), 1);
    dialogScript::pushSaveChoice(SaveChoice::Discard);
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    EXPECT_TRUE(frame->children().isEmpty());
    EXPECT_EQ(copies(), 0);

    // Closed while its first copy is on its way to the disk.
    w = open();
    erase(w, 100, 200);
    keeper->keep(RecoveryKeeper::Clock::now());
    dialogScript::pushSaveChoice(SaveChoice::Discard);
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    copyNow();
    EXPECT_EQ(copies(), 0);
}

TEST_F(RecoveryTest, ANormalEndLeavesNoCopyACancelledOneKeepsIt) {
    CMeasureWnd* w = open();
    erase(w, 100, 200);
    copyNow();
    dialogScript::pushSaveChoice(SaveChoice::Cancel);
    frame->close();
    settle();
    EXPECT_EQ(copies(), 1) << "the program goes on, changes and all";

    dialogScript::pushSaveChoice(SaveChoice::Discard);
    frame->close();
    frame.reset();
    settle();
    EXPECT_EQ(copies(), 0);
}

// What a program that died left: three windows' copies, one answered each way.
TEST_F(RecoveryTest, EachCopyLeftIsOfferedAndRestoredAsTheWindowItWas) {
    RecoveryStore died(folder(), {999999999, 1});
    std::unique_ptr<CMeasure> changed(makeMeasure(2, 500, 10.0, "/data/one.INT"));
    changed->EraseBlock(1, 100, 200);
    ASSERT_TRUE(died.write(1, *changed, FileType::Int, nullptr));
    copyField(changed->path, sizeof changed->path, "/data/two.INT");
    ASSERT_TRUE(died.write(2, *changed, FileType::Int, nullptr));
    copyField(changed->path, sizeof changed->path, "/data/three.INT");
    ASSERT_TRUE(died.write(3, *changed, FileType::Int, nullptr));
    // Written in this order, so offered in this order.
    const std::string kept = died.entryPath(3);

    dialogScript::pushRestoreChoice(RestoreChoice::Restore);
    dialogScript::pushRestoreChoice(RestoreChoice::Discard);
    dialogScript::pushRestoreChoice(RestoreChoice::Later);
    offerRecovery(*frame, *keeper);
    settle();

    ASSERT_EQ(dialogScript::questions().size(), 3);
    EXPECT_TRUE(dialogScript::questions()[0].startsWith(
        QStringLiteral("Ondarix ended without saving the changes to /data/one.INT (kept at ")))
        << dialogScript::questions()[0].toStdString();
    EXPECT_TRUE(dialogScript::questions()[0].endsWith(QStringLiteral("). Restore them?")));
    ASSERT_EQ(frame->children().size(), 1);
    auto* w = dynamic_cast<CMeasureWnd*>(frame->children()[0]);
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isModified());
    EXPECT_EQ(w->title(), QStringLiteral("/data/one.INT*"));
    EXPECT_STREQ(w->measure->path, "/data/one.INT");
    EXPECT_TRUE(erased(*w->measure, 1, 100, 200));
    // The restored window's copy is this program's now; Later's stays for the next start.
    EXPECT_FALSE(keeper->copyOf(*w).empty());
    EXPECT_EQ(copies(), 2);
    ASSERT_EQ(keeper->store().orphans().size(), 1u);
    EXPECT_EQ(keeper->store().orphans()[0].path, kept);

    // Saving asks for the file as for any changed window, its own name proposed.
    TempDir out;
    dialogScript::pushFile(QString::fromStdString(out.file("one.INT")), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    settle();
    ASSERT_EQ(dialogScript::fileRequests().size(), 1);
    EXPECT_EQ(dialogScript::fileRequests()[0].fileName, QStringLiteral("/data/one"));
    EXPECT_EQ(dialogScript::questions().size(), 3);
    EXPECT_TRUE(dialogScript::messages().isEmpty());
    EXPECT_FALSE(w->isModified());
    EXPECT_EQ(copies(), 1);
}

TEST_F(RecoveryTest, AnUnreadableCopyIsSetAsideAndSaidOnce) {
    RecoveryStore died(folder(), {999999999, 1});
    std::unique_ptr<CMeasure> m(makeMeasure(1, 10));
    ASSERT_TRUE(died.write(1, *m, FileType::Int, nullptr));
    const std::string path = died.entryPath(1);
    std::string bytes = readString(path);
    writeString(path, bytes.substr(0, bytes.size() - 4));

    offerRecovery(*frame, *keeper);
    EXPECT_TRUE(dialogScript::questions().isEmpty());
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].contains(QStringLiteral("cannot be read")));
    EXPECT_EQ(readString(path + ".unreadable").size(), bytes.size() - 4);
    offerRecovery(*frame, *keeper);
    EXPECT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(frame->children().isEmpty());
}

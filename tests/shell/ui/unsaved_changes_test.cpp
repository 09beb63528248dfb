// Unsaved changes of a measure window: what marks it (an asterisk after its
// title, in the Window menu too), the question closing it or the program
// then asks, and the undo of "Block erease".
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "analysis/ui/result_wnd.h"
#include "frame_test_support.h"
#include "measure/int_format.h"
#include "measure/ui/measure_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "shell/menus.h"
#include "shell/ui/menu_builder.h"
#include "support/temp_dir.h"
#include "view/ui/component_list.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<Sample> samplesOf(const CMeasure& m) {
    std::vector<Sample> all;
    for (int j = 0; j < m.sampleCount; ++j)
        for (int c = 0; c < m.channelCount; ++c)
            all.push_back(m.sample(c, j));
    return all;
}

bool sameBits(const std::vector<Sample>& a, const CMeasure& m) {
    return a.size() == size_t(m.channelCount) * size_t(m.sampleCount) &&
           std::memcmp(a.data(), samplesOf(m).data(), a.size() * sizeof(Sample)) == 0;
}

} // namespace

class UnsavedChangesTest : public FrameTest {
  protected:
    CMeasureWnd* open(const char* path = "/data/run.INT") {
        CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(3, 100, 10.0, path));
        settle();
        return w;
    }
    void activate(CMeasureWnd* w) { frame->mdiClient()->setActiveSubWindow(w->subWindow()); }
    // File -> Info... with one field typed over, confirmed with OK.
    void editInfo(int field, const char* text) {
        dialogScript::pushDialog([=](ScriptedDialog& d) {
            d.setText(field, text);
            d.press(IDOK);
        });
        frame->frameCommand(CMD_INFO, 0);
    }
    void erase(CMeasureWnd* w, int channel, int from, int to) {
        activate(w);
        w->view->SetBlock(channel, from, to);
        frame->frameCommand(CMD_BLOCK_ERASE, 0);
    }
    // The window's entry in the Window menu's list.
    QString listEntry(CMeasureWnd* w) {
        QMenu* menu = frame->framePopup(WINDOW_MENU_INDEX);
        frame->updateMenuState(menu);
        int index = int(frame->children().indexOf(w));
        QAction* entry = findCommand(menu, CMD_FIRST_CHILD + index);
        return entry ? entry->text() : QString();
    }
    // Modified, and saying so wherever its title shows.
    bool marked(CMeasureWnd* w) {
        const bool titled = w->title() == w->plainTitle() + "*" &&
                            w->subWindow()->windowTitle() == w->title() &&
                            listEntry(w).endsWith(w->title());
        EXPECT_EQ(titled, w->isModified()) << w->title().toStdString();
        return w->isModified() && titled;
    }
    bool undoEnabled() {
        QMenu* edit = frame->framePopup(1);
        frame->updateMenuState(edit);
        return findCommand(edit, CMD_UNDO)->isEnabled();
    }
    bool isOpen(CMeasureWnd* w) { return frame->children().contains(w); }
    TempDir dir;
};

// Every way the measurement changes marks its window; a dialog confirmed on
// the values it showed does not.
TEST_F(UnsavedChangesTest, EachChangeMarksTheWindowAndItsTitle) {
    struct Case {
        const char* what;
        bool changes;
        std::function<void(CMeasureWnd*)> act;
    };
    const std::vector<Case> cases = {
        {"Block erease", true, [&](CMeasureWnd* w) { erase(w, 1, 10, 20); }},
        {"Info renamed", true, [&](CMeasureWnd*) { editInfo(IDC_MEASURE_NAME, "renamed"); }},
        {"Info with a new rate", true, [&](CMeasureWnd*) { editInfo(IDC_MEASURE_RATE, "25"); }},
        {"Info confirmed unchanged", false,
         [&](CMeasureWnd*) {
             dialogScript::pushDialog([](ScriptedDialog& d) { d.press(IDOK); });
             frame->frameCommand(CMD_INFO, 0);
         }},
        {"Channel configuration", true,
         [&](CMeasureWnd*) {
             dialogScript::pushDialog([](ScriptedDialog& d) {
                 d.selectRow(IDC_MEASURE_LIST, 1);
                 dialogScript::pushDialog([](ScriptedDialog& channel) {
                     channel.setText(IDC_CHANNEL_NAME, "gauge B");
                     channel.press(IDOK);
                 });
                 d.press(IDC_MEASURE_EDIT);
                 d.press(IDOK);
             });
             frame->frameCommand(CMD_INFO, 0);
         }},
        {"Block info with a component added", true,
         [&](CMeasureWnd* w) {
             w->view->SetBlock(2, 0, 50);
             dialogScript::pushDialog([](ScriptedDialog& d) {
                 d.selectRow(IDC_COMPONENT_LIST, 0);
                 dialogScript::pushDialog([](ScriptedDialog& editor) { editor.press(IDOK); });
                 d.press(IDC_COMPONENT_EDIT); // on "New component"
                 d.press(IDOK);
             });
             frame->frameCommand(CMD_BLOCK_INFO, 0);
         }},
        {"Block info confirmed unchanged", false,
         [&](CMeasureWnd* w) {
             w->view->SetBlock(2, 0, 50);
             dialogScript::pushDialog([](ScriptedDialog& d) { d.press(IDOK); });
             frame->frameCommand(CMD_BLOCK_INFO, 0);
         }},
        {"Kalman run writing its estimates back", true,
         [&](CMeasureWnd* w) {
             appendComponent(w->measure->signalParameters[1], wave("first", 0.5, 100.0));
             w->view->SetBlock(1, 0, 100);
             dialogScript::pushDialog([](ScriptedDialog& d) { d.press(IDOK); });
             frame->frameCommand(CMD_KALMAN, 0);
             auto* result = dynamic_cast<CResultWnd*>(frame->activeChild());
             ASSERT_NE(result, nullptr);
             QElapsedTimer clock;
             clock.start();
             while (result->running() && clock.elapsed() < 60000)
                 QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
             settle();
         }},
    };
    for (const Case& c : cases) {
        CMeasureWnd* w = open();
        EXPECT_FALSE(marked(w)) << c.what;
        // The same file opened once per case: numbered " (2)", " (3)", ...
        EXPECT_TRUE(w->title().startsWith("/data/run.INT")) << w->title().toStdString();
        c.act(w);
        EXPECT_EQ(marked(w), c.changes) << c.what;
    }
}

TEST_F(UnsavedChangesTest, CloseOfAModifiedWindowWithCancelKeepsTheWindowAndItsData) {
    CMeasureWnd* clean = open("/data/clean.INT");
    CMeasureWnd* w = open("/data/run.INT");
    erase(w, 1, 10, 20);
    const std::vector<Sample> erased = samplesOf(*w->measure);
    // The sub-window's close button, Window -> Close, and Ctrl+F4.
    dialogScript::pushSaveChoice(SaveChoice::Cancel);
    w->subWindow()->close();
    settle();
    dialogScript::pushSaveChoice(SaveChoice::Cancel);
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    frame->activateWindow();
    w->view->hwnd->setFocus();
    dialogScript::pushSaveChoice(SaveChoice::Cancel);
    QTest::keySequence(w->view->hwnd, QKeySequence(Qt::CTRL | Qt::Key_F4));
    settle();
    EXPECT_EQ(dialogScript::questions(), QStringList(3, "Save changes to run.INT?"));
    ASSERT_TRUE(isOpen(w));
    EXPECT_TRUE(marked(w));
    EXPECT_TRUE(sameBits(erased, *w->measure));
    EXPECT_TRUE(dialogScript::fileRequests().isEmpty());
    // A window without changes closes without a word.
    clean->subWindow()->close();
    settle();
    EXPECT_FALSE(isOpen(clean));
    EXPECT_EQ(dialogScript::questions().size(), 3);
}

TEST_F(UnsavedChangesTest, DiscardClosesWithoutSaving) {
    CMeasureWnd* w = open();
    erase(w, 0, 0, 5);
    dialogScript::pushSaveChoice(SaveChoice::Discard);
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    EXPECT_FALSE(isOpen(w));
    EXPECT_EQ(dialogScript::questions().size(), 1);
    EXPECT_TRUE(dialogScript::fileRequests().isEmpty());
}

// Save runs Save as; the window goes only once the file is written.
TEST_F(UnsavedChangesTest, SaveWritesTheFileThenCloses) {
    CMeasureWnd* w = open(dir.file("run.INT").c_str());
    erase(w, 1, 10, 20);
    const std::vector<Sample> erased = samplesOf(*w->measure);

    // The save dialog cancelled, then a folder that does not exist: no file,
    // the window stays.
    dialogScript::pushSaveChoice(SaveChoice::Save);
    w->subWindow()->close();
    settle();
    ASSERT_TRUE(isOpen(w));
    dialogScript::pushSaveChoice(SaveChoice::Save);
    dialogScript::pushFile(q(dir.file("missing/run.INT")), 1);
    w->subWindow()->close();
    settle();
    ASSERT_TRUE(isOpen(w));
    EXPECT_TRUE(marked(w));
    EXPECT_EQ(dialogScript::messages().size(), 1);

    dialogScript::pushSaveChoice(SaveChoice::Save);
    dialogScript::pushFile(q(dir.file("saved.INT")), 1);
    w->subWindow()->close();
    settle();
    EXPECT_FALSE(isOpen(w));
    EXPECT_EQ(dialogScript::questions().size(), 3);
    CMeasure back;
    ASSERT_TRUE(readInt(back, dir.file("saved.INT").c_str()));
    EXPECT_TRUE(sameBits(erased, back));
}

// Save as of the whole measurement clears the mark; Save block does not.
TEST_F(UnsavedChangesTest, OnlySaveAsClearsTheMark) {
    CMeasureWnd* w = open();
    erase(w, 1, 10, 20);
    dialogScript::pushFile(q(dir.file("block.TXT")), 1);
    frame->frameCommand(CMD_SAVE_BLOCK, 0);
    ASSERT_TRUE(QFile::exists(q(dir.file("block.TXT"))));
    EXPECT_TRUE(marked(w));
    dialogScript::pushFile(q(dir.file("whole.INT")), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    EXPECT_FALSE(marked(w));
    EXPECT_EQ(w->title(), q(dir.file("whole.INT")));
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    EXPECT_FALSE(isOpen(w));
    EXPECT_TRUE(dialogScript::questions().isEmpty());
}

// File -> Exit asks once for each modified window, in the order they were
// opened; Cancel on any keeps the program and every window.
TEST_F(UnsavedChangesTest, QuittingAsksForEachModifiedWindowAndCancelKeepsTheProgram) {
    CMeasureWnd* first = open("/data/first.INT");
    CMeasureWnd* clean = open("/data/clean.INT");
    CMeasureWnd* second = open("/data/second.INT");
    erase(first, 0, 1, 2);
    erase(second, 2, 3, 4);
    dialogScript::pushSaveChoice(SaveChoice::Discard);
    dialogScript::pushSaveChoice(SaveChoice::Cancel);
    frame->frameCommand(CMD_EXIT, 0);
    settle();
    EXPECT_EQ(dialogScript::questions(),
              QStringList({"Save changes to first.INT?", "Save changes to second.INT?"}));
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(frame->children(), QList<CMDIChildWnd*>({first, clean, second}));
    EXPECT_EQ(frame->activeChild(), second); // the window asked about last

    // The frame's own close button: both asked again, both discarded.
    dialogScript::pushSaveChoice(SaveChoice::Discard);
    dialogScript::pushSaveChoice(SaveChoice::Discard);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(dialogScript::questions().size(), 4);
    EXPECT_FALSE(frame->isVisible());
}

// Ctrl+Z takes the last erase back: the exact samples and the mark the
// window had before it; then Undo is greyed again.
TEST_F(UnsavedChangesTest, UndoRestoresTheErasedSamplesAndGreysItself) {
    CMeasureWnd* w = open();
    w->measure->setSample(1, 15, Sample{std::numeric_limits<float>::quiet_NaN(), 0.0f});
    w->measure->setSample(1, 16, Sample{w->measure->value(1, 16), -0.0f});
    const std::vector<Sample> original = samplesOf(*w->measure);
    EXPECT_FALSE(undoEnabled());
    erase(w, 1, 30, 10); // a block selected backwards
    EXPECT_EQ(w->measure->value(1, 15), 0.0f);
    EXPECT_TRUE(undoEnabled());
    frame->activateWindow();
    w->view->hwnd->setFocus();
    QTest::keySequence(w->view->hwnd, QKeySequence(Qt::CTRL | Qt::Key_Z));
    settle();
    EXPECT_TRUE(sameBits(original, *w->measure));
    EXPECT_FALSE(marked(w));
    EXPECT_FALSE(undoEnabled());
    frame->frameCommand(CMD_UNDO, 0); // nothing left: changes nothing
    EXPECT_TRUE(sameBits(original, *w->measure));

    // Modified before the erase, it stays modified after the undo; one level
    // only: the second erase is what comes back.
    editInfo(IDC_MEASURE_NAME, "renamed");
    erase(w, 0, 0, 50);
    const std::vector<Sample> afterFirst = samplesOf(*w->measure);
    erase(w, 2, 40, 60);
    frame->frameCommand(CMD_UNDO, 0);
    EXPECT_TRUE(sameBits(afterFirst, *w->measure));
    EXPECT_TRUE(marked(w));
    EXPECT_FALSE(undoEnabled());

    // Saved after an erase, the undone measurement differs from its file.
    erase(w, 2, 0, 10);
    dialogScript::pushFile(q(dir.file("saved.INT")), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    EXPECT_FALSE(marked(w));
    frame->frameCommand(CMD_UNDO, 0);
    EXPECT_TRUE(sameBits(afterFirst, *w->measure));
    EXPECT_TRUE(marked(w));
}

// Equal titles are numbered by the name, whatever the asterisk of a change.
TEST_F(UnsavedChangesTest, AChangedWindowStillCountsForNumberingEqualTitles) {
    CMeasureWnd* first = open("/data/run.INT");
    erase(first, 1, 10, 20);
    CMeasureWnd* second = open("/data/run.INT");
    EXPECT_EQ(first->title(), "/data/run.INT*");
    EXPECT_EQ(second->title(), "/data/run.INT (2)");
}

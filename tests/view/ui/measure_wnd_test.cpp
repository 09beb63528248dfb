// The measure window: its title, the queries it answers, "Set Block",
// "Block erease", and what closing it releases.
#include <gtest/gtest.h>

#include <QMdiSubWindow>

#include "analysis/result_registry.h"
#include "analysis/test_calculation.h"
#include "frame_test_support.h"
#include "shell/dialog_templates.h"
#include "shell/ui/status_bar.h"
#include "support/temp_dir.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"
#include "view/ui/view_dialog_templates.h"

namespace {

struct IgnoringSink : MessageSink {
    void post(int, int32_t, uint32_t) override {}
};

// Reports its own deletion.
class TracedMeasure : public CMeasure {
  public:
    explicit TracedMeasure(bool* deleted) : deleted_(deleted) {}
    ~TracedMeasure() override { *deleted_ = true; }

  private:
    bool* deleted_;
};

} // namespace

class MeasureWndTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        window = openMeasureWindow(*frame, makeMeasure(3, 100, 10.0, "/flume/run 7.INT"));
        settle();
    }
    BlockRange block() const {
        BlockRange b{-9, -9, -9};
        window->OnCommand(CMD_GET_BLOCK, reinterpret_cast<intptr_t>(&b));
        return b;
    }
    // Plays "Set Block" with the three fields and the button given.
    void setBlock(const QString& channel, const QString& from, const QString& to, int button) {
        dialogScript::pushDialog([=](ScriptedDialog& d) {
            EXPECT_EQ(d.title(), QStringLiteral("Set Block"));
            d.setText(IDC_BLOCK_CHANNEL, channel);
            d.setText(IDC_BLOCK_FROM, from);
            d.setText(IDC_BLOCK_TO, to);
            d.press(button);
        });
        frame->frameCommand(CMD_BLOCK_SET, 0);
    }
    CMeasureWnd* window = nullptr;
};

TEST_F(MeasureWndTest, AttachTitlesTheWindowAndQueriesAnswer) {
    EXPECT_EQ(window->title(), QStringLiteral("/flume/run 7.INT"));
    EXPECT_EQ(window->view->hwnd->parentWidget(), window->hwnd);
    CMeasure* shown = nullptr;
    frame->frameCommand(CMD_GET_MEASURE, reinterpret_cast<intptr_t>(&shown));
    EXPECT_EQ(shown, window->measure.get());
    int32_t mode = 0;
    window->OnCommand(CMD_GET_PLOT_MODE, reinterpret_cast<intptr_t>(&mode));
    EXPECT_EQ(mode, PLOT_SIGNAL);
}

// A .WAV file opens under its path, as the other types do; and a second
// window on the same file is told apart by a number.
TEST_F(MeasureWndTest, AWaveFileOpensTitledByItsPath) {
    // RIFF WAVE, one channel of 16-bit PCM at 8000 Hz, four samples.
    const char header[] = "RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0"
                          "\x80\x3e\0\0\x02\0\x10\0data\x08\0\0\0\x01\0\x02\0\x03\0\x04\0";
    TempDir dir;
    const std::string path = dir.file("tone.wav");
    writeBytes(path, std::vector<unsigned char>(header, header + sizeof header - 1));
    CMeasureWnd* wave = openMeasureFile(*frame, path, FileType::Wave);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->measure->sampleCount, 4);
    EXPECT_EQ(wave->title(), QString::fromStdString(path));
    CMeasureWnd* again = openMeasureFile(*frame, path, FileType::Wave);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->title(), QString::fromStdString(path) + " (2)");
}

TEST_F(MeasureWndTest, SetBlockDialogShowsTheBlockAndSetsIt) {
    window->view->SetBlock(1, 4, 8);
    QString shownChannel, shownFrom, shownTo;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        shownChannel = d.text(IDC_BLOCK_CHANNEL);
        shownFrom = d.text(IDC_BLOCK_FROM);
        shownTo = d.text(IDC_BLOCK_TO);
        d.setText(IDC_BLOCK_TO, QStringLiteral("60"));
        d.press(IDOK);
    });
    frame->frameCommand(CMD_BLOCK_SET, 0);
    EXPECT_EQ(shownChannel, QStringLiteral("1"));
    EXPECT_EQ(shownFrom, QStringLiteral("4"));
    EXPECT_EQ(shownTo, QStringLiteral("8"));
    EXPECT_EQ(block().to, 60);
    EXPECT_EQ(block().from, 4);
}

TEST_F(MeasureWndTest, SetBlockCancelKeepsTheBlockButShowsItAgain) {
    window->view->SetBlock(2, 10, 30);
    frame->setStatusText(STATUS_PART_BLOCK, QStringLiteral("stale"));
    setBlock("0", "1", "2", IDCANCEL);
    EXPECT_EQ(block().channel, 2);
    EXPECT_EQ(block().from, 10);
    EXPECT_EQ(block().to, 30);
    EXPECT_NE(frame->statusParts()->text(STATUS_PART_BLOCK), QStringLiteral("stale"));
}

// OK with a field that is not an integer in its range keeps the dialog open,
// focused on that field and saying what it takes; nothing changes until the
// field is mended, and Cancel then leaves the old block.
TEST_F(MeasureWndTest, SetBlockKeepsTheDialogOpenOnAFieldOutOfRange) {
    window->view->SetBlock(0, 5, 6);
    struct Case {
        const char *channel, *from, *to;
        int badField;
        const char* hint;
    } cases[] = {
        {"3", "1", "2", IDC_BLOCK_CHANNEL, "from 0 to 2"}, // channels are 0 .. 2
        {"abc", "1", "2", IDC_BLOCK_CHANNEL, "from 0 to 2"},
        {"1", "-50", "2", IDC_BLOCK_FROM, "from 0 to 100"},
        {"1", "12x", "50", IDC_BLOCK_FROM, "from 0 to 100"},
        {"1", "10", "1000", IDC_BLOCK_TO, "from 0 to 100"},
    };
    for (const Case& c : cases) {
        bool stayedOpen = false;
        QString hint;
        bool focused = false;
        dialogScript::pushDialog([&](ScriptedDialog& d) {
            d.setText(IDC_BLOCK_CHANNEL, c.channel);
            d.setText(IDC_BLOCK_FROM, c.from);
            d.setText(IDC_BLOCK_TO, c.to);
            d.press(IDOK);
            stayedOpen = !d.ended();
            hint = d.hint();
            focused = d.focusedControl() == c.badField;
            d.press(IDCANCEL);
        });
        frame->frameCommand(CMD_BLOCK_SET, 0);
        EXPECT_TRUE(stayedOpen) << c.channel << " " << c.from << " " << c.to;
        EXPECT_TRUE(hint.contains(c.hint)) << hint.toStdString();
        EXPECT_TRUE(focused) << c.channel << " " << c.from << " " << c.to;
        EXPECT_EQ(block().channel, 0);
        EXPECT_EQ(block().from, 5);
        EXPECT_EQ(block().to, 6);
    }
    // Mended, the same dialog takes the block, a backward one included.
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        d.setText(IDC_BLOCK_CHANNEL, "2");
        d.setText(IDC_BLOCK_FROM, "-1");
        d.press(IDOK);
        d.setText(IDC_BLOCK_FROM, "100");
        d.setText(IDC_BLOCK_TO, "40");
        d.press(IDOK);
    });
    frame->frameCommand(CMD_BLOCK_SET, 0);
    EXPECT_EQ(block().channel, 2);
    EXPECT_EQ(block().from, 100);
    EXPECT_EQ(block().to, 40);
}

TEST_F(MeasureWndTest, BlockEraseZerosTheBlockOnlyWhenThereIsOne) {
    CMeasure* m = window->measure.get();
    window->view->SetBlock(1, 20, 20);
    frame->frameCommand(CMD_BLOCK_ERASE, 0);
    EXPECT_FLOAT_EQ(m->value(1, 20), 1020.0f);

    window->view->SetBlock(1, 20, 23);
    frame->frameCommand(CMD_BLOCK_ERASE, 0);
    EXPECT_FLOAT_EQ(m->value(1, 19), 1019.0f);
    for (int j = 20; j < 23; ++j)
        EXPECT_FLOAT_EQ(m->value(1, j), 0.0f);
    EXPECT_FLOAT_EQ(m->value(1, 23), 1023.0f);
    EXPECT_FLOAT_EQ(m->value(0, 21), 21.0f);
}

TEST_F(MeasureWndTest, AddAndSubSampleChangeNothingInAPlainMeasureWindow) {
    window->view->SetBlock(0, 10, 20);
    frame->frameCommand(CMD_ADD_SAMPLE, 0);
    frame->frameCommand(CMD_SUB_SAMPLE, 0);
    EXPECT_EQ(block().to, 20);
    EXPECT_EQ(window->measure->sampleCount, 100);
}

TEST_F(MeasureWndTest, ClosingReleasesTheMeasurementAfterCuttingResultsLoose) {
    bool deleted = false;
    auto* traced = new TracedMeasure(&deleted);
    std::unique_ptr<CMeasure> pattern(makeMeasure(1, 200));
    traced->channelCount = 1;
    traced->sampleCount = 200;
    traced->sampleRate = 10;
    traced->allocateSamples();
    for (int j = 0; j < 200; ++j)
        traced->setSample(0, j, pattern->sample(0, j));
    CMeasureWnd* w = openMeasureWindow(*frame, traced);
    settle();

    IgnoringSink sink;
    CCopy result(traced, BlockRange{0, 0, 200});
    result.copyParams().gate = 50; // the worker waits inside the block
    ASSERT_TRUE(result.StartWorker(&sink));
    registerResult(&result);

    w->subWindow()->close();
    settle();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(result.source, nullptr);
    EXPECT_EQ(result.state(), CalcState::Idle);
    EXPECT_GE(result.finishes, 1);
    unregisterResult(&result);
}

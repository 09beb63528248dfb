#include "view/ui/measure_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include <map>

#include "recording_clipboard.h"
#include "shell/ui/frame_services.h"
#include "shell/view_commands.h"
#include "view/ui/plot_painter.h"
#include "view/view_test_support.h"

using view_test::makeMeasure;

namespace {

struct RecordingFrame : FrameServices {
    void setStatusText(int part, const QString& text) override { status[part] = text; }
    void trackSignalPopup(QWidget* owner, const QPoint& globalPos) override {
        popupOwner = owner;
        popupAt = globalPos;
        ++popups;
    }
    intptr_t frameCommand(int, intptr_t) override { return 0; }
    std::map<int, QString> status;
    QWidget* popupOwner = nullptr;
    QPoint popupAt;
    int popups = 0;
};

// A shown view over a measurement of 3 channels x 1000 samples at 10 Hz.
class MeasureViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setFrameServices(&frame);
        m = makeMeasure(3, 1000, 10.0, [](int c, int j) { return Sample{float(c + j % 7), 0.0f}; });
        parent.resize(600, 400);
        parent.show();
        ASSERT_FALSE(view.Create(0, 0, 600, 400, &parent, 0));
        view.SetMeasure(m.get());
        // A client 1000 pixels wide shows one pixel per sample.
        int extent = view.verticalBar()->width();
        view.hwnd->resize(1000 + extent, 400 + extent);
        ASSERT_EQ(view.client_width, 1000);
        ASSERT_DOUBLE_EQ(view.pixels_per_sample, 1.0);
    }
    void TearDown() override { setFrameServices(nullptr); }

    void mouse(QEvent::Type type, Qt::MouseButton button, int x, int y) {
        Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        if (type == QEvent::MouseMove) buttons = dragging ? Qt::LeftButton : Qt::NoButton;
        QPointF at(x, y);
        QMouseEvent e(type, at, view.hwnd->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view.hwnd, &e);
        if (type == QEvent::MouseButtonPress) dragging = true;
        if (type == QEvent::MouseButtonRelease) dragging = false;
    }
    void press(int x, int y) { mouse(QEvent::MouseButtonPress, Qt::LeftButton, x, y); }
    void move(int x, int y) { mouse(QEvent::MouseMove, Qt::NoButton, x, y); }
    void release(int x, int y) { mouse(QEvent::MouseButtonRelease, Qt::LeftButton, x, y); }

    RecordingFrame frame;
    std::unique_ptr<CMeasure> m;
    QWidget parent;
    CMeasureView view;
    bool dragging = false;
};

} // namespace

TEST_F(MeasureViewTest, TwoPixelsFromAnEdgeDragsItThreePixelsStartsANewBlock) {
    view.SetBlock(0, 100, 200);
    EXPECT_EQ(frame.status[STATUS_PART_BLOCK], "0: 100-200 (10.0000, 0.1000)");
    press(202, 50);
    EXPECT_EQ(view.drag, 2);
    move(302, 50);
    EXPECT_EQ(view.block.to, 300);
    EXPECT_EQ(frame.status[STATUS_PART_BLOCK], "0: 100-300 (20.0000, 0.0500)");
    release(302, 50);
    EXPECT_EQ(view.drag, 0);

    press(97, 50);
    EXPECT_EQ(view.block.from, 97);
    EXPECT_EQ(view.block.to, 97);
    EXPECT_EQ(QWidget::mouseGrabber(), view.hwnd);
    move(150, 50);
    release(150, 50);
    EXPECT_EQ(view.block.from, 97);
    EXPECT_EQ(view.block.to, 150);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(MeasureViewTest, PointerReadoutGoesToStatusPartOne) {
    // strip data 400 - 12 - 12 = 376 rows; x 250 px = 250 samples = 25 s
    move(250, 12);
    const QString readout = frame.status[STATUS_PART_CURSOR];
    EXPECT_TRUE(readout.startsWith("ch=0  x=25.0000 s  y=")) << readout.toStdString();
    frame.status.clear();
    move(250, 5); // a header: no readout
    EXPECT_EQ(frame.status.count(STATUS_PART_CURSOR), 0u);
}

TEST_F(MeasureViewTest, HeaderClickCollapsesUntilTheNextRefresh) {
    press(300, 5);
    release(300, 5);
    EXPECT_EQ(view.expanded[0], 0);
    EXPECT_EQ(view.ChannelAt(12).channel, 1);
    view.Refresh();
    EXPECT_EQ(view.expanded[0], 1);
}

TEST_F(MeasureViewTest, PopupOpensAtThePointerAndBlockCommandsUseItsPosition) {
    mouse(QEvent::MouseButtonPress, Qt::RightButton, 300, 50);
    EXPECT_EQ(frame.popups, 1);
    EXPECT_EQ(frame.popupOwner, view.hwnd);
    EXPECT_EQ(frame.popupAt, view.hwnd->mapToGlobal(QPoint(300, 50)));
    EXPECT_EQ(view.cursor_channel, 0);
    EXPECT_EQ(view.cursor_sample, 300);
    view.OnCommand(CMD_BEGIN_BLOCK, 0);
    EXPECT_EQ(view.block.from, 300);
    view.OnCommand(CMD_SELECT_ALL, 0);
    BlockRange asked{-1, -1, -1};
    view.OnCommand(CMD_GET_BLOCK, reinterpret_cast<intptr_t>(&asked));
    EXPECT_EQ(asked.channel, 0);
    EXPECT_EQ(asked.from, 0);
    EXPECT_EQ(asked.to, 1000);
    EXPECT_EQ(frame.status[STATUS_PART_BLOCK], "0: 0-1000 (100.0000, 0.0100)");
}

TEST_F(MeasureViewTest, ZoomCommandsStopAtTheirLimits) {
    for (int i = 0; i < 10; ++i)
        view.OnCommand(CMD_ZOOM_X_IN, 0);
    EXPECT_EQ(view.visible_samples, 15); // 1000, 500, 250, 125, 62, 31, 15
    for (int i = 0; i < 10; ++i)
        view.OnCommand(CMD_ZOOM_X_OUT, 0);
    EXPECT_EQ(view.visible_samples, 1000);
    for (int i = 0; i < 5; ++i)
        view.OnCommand(CMD_ZOOM_Y_OUT, 0);
    EXPECT_EQ(view.channels_per_screen, 3);
    EXPECT_EQ(view.strip_height, (400 - 36) / 3);
    for (int i = 0; i < 10; ++i)
        view.OnCommand(CMD_Y_RANGE_IN, 0);
    EXPECT_EQ(view.y_factor, 256);
    view.OnCommand(CMD_Y_RANGE_OUT, 0);
    EXPECT_EQ(view.y_factor, 128);
}

TEST_F(MeasureViewTest, PlotModeCommandsAndQuery) {
    const std::pair<int, int32_t> modes[] = {{CMD_PLOT_ENVELOPE, 5},
                                             {CMD_PLOT_COSIGNAL, 3},
                                             {CMD_PLOT_ALL, 7},
                                             {CMD_PLOT_MODULE, 8},
                                             {CMD_PLOT_SIGNAL, 1}};
    for (auto [command, mode] : modes) {
        view.OnCommand(command, 0);
        int32_t asked = -1;
        view.OnCommand(CMD_GET_PLOT_MODE, reinterpret_cast<intptr_t>(&asked));
        EXPECT_EQ(asked, mode);
    }
}

// A scroll-bar arrow moves a tenth of the view, not one pixel.
TEST_F(MeasureViewTest, ScrollBarsScrollByUsefulSteps) {
    EXPECT_TRUE(view.horizontalBar()->isVisible());
    EXPECT_TRUE(view.verticalBar()->isEnabled());
    view.OnCommand(CMD_ZOOM_X_IN, 0); // 500 samples per 1000 px: content 2000 px
    EXPECT_EQ(view.horizontalBar()->maximum(), 2000 - 1001 + 1);
    EXPECT_EQ(view.horizontalBar()->pageStep(), 1001);
    EXPECT_EQ(view.scroll_x, 500); // the middle of the view stayed in the middle
    view.horizontalBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view.scroll_x, 600);
    view.horizontalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(view.scroll_x, 1000); // held at the last page
    view.horizontalBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(view.scroll_x, 0);
    EXPECT_EQ(view.horizontalBar()->value(), 0);
}

TEST_F(MeasureViewTest, CopyAndAddNeedABlockAndAChannel) {
    RecordingClipboard clip;
    setClipboard(&clip);
    view.OnCommand(CMD_VIEW_COPY, 0);
    EXPECT_EQ(clip.calls, 0);
    view.SetBlock(1, 10, 12);
    view.OnCommand(CMD_VIEW_COPY, 0);
    EXPECT_EQ(clip.calls, 1);
    EXPECT_FALSE(clip.text.empty());
    setClipboard(nullptr);

    // the Set Block dialog accepts any numbers: a channel that does not exist changes nothing
    view.SetBlock(7, 1, 2);
    EXPECT_EQ(view.block.channel, 1);
    view.SetBlock(2, -5, 99999);
    EXPECT_EQ(view.block.from, 0);
    EXPECT_EQ(view.block.to, 1000);
}

TEST_F(MeasureViewTest, PaintsThroughItsWidget) {
    QImage shot = view.hwnd->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(5, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(5, 6), BAND_COLOUR.rgb());
}

TEST(MeasureViewAlone, WithoutAMeasurementTheBarsAreHiddenAndPaintIsWhite) {
    QWidget parent;
    parent.resize(200, 100);
    CMeasureView view;
    ASSERT_FALSE(view.Create(0, 0, 200, 100, &parent, 0));
    parent.show();
    EXPECT_FALSE(view.horizontalBar()->isVisible());
    EXPECT_FALSE(view.verticalBar()->isEnabled());
    QImage shot = view.hwnd->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(100, 50), qRgb(255, 255, 255));
    view.OnCommand(CMD_ZOOM_X_OUT, 0);
    view.OnCommand(CMD_SELECT_ALL, 0);
    EXPECT_EQ(view.visible_samples, 2000);
}

// Zooming keeps what the user looks at: viewing 32 to 52 s, "Zoom X in"
// shows 37 to 47 s (not 16 to 26 s), and a block in view keeps its place.
TEST_F(MeasureViewTest, ZoomKeepsTheMiddleOfTheViewOrTheBlockInPlace) {
    view.visible_samples = 200; // 20 s over 1000 px: 5 px a sample
    view.Layout();
    view.scroll_x = 320 * 5;
    view.OnCommand(CMD_ZOOM_X_IN, 0);
    EXPECT_EQ(view.visible_samples, 100);
    EXPECT_EQ(view.scroll_x, 370 * 10); // 37 s at the left edge, 42 s still in the middle
    view.OnCommand(CMD_ZOOM_X_OUT, 0);
    EXPECT_EQ(view.scroll_x, 320 * 5);

    view.SetBlock(1, 340, 360); // its middle, 350, is at x = 150
    view.OnCommand(CMD_ZOOM_X_IN, 0);
    EXPECT_EQ(350 * 10 - view.scroll_x, 150);
}

TEST_F(MeasureViewTest, WheelScrollsZoomsAtThePointerAndShiftScrollsChannels) {
    auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers, int x) {
        QPointF at(x, 50);
        QWheelEvent e(at, view.hwnd->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.hwnd, &e);
    };
    view.OnCommand(CMD_ZOOM_X_IN, 0); // content 2000 px, at 500
    wheel(-120, Qt::NoModifier, 300); // towards the user: on in time
    EXPECT_EQ(view.scroll_x, 600);
    wheel(120, Qt::NoModifier, 300);
    EXPECT_EQ(view.scroll_x, 500);

    // Ctrl: the sample under the pointer stays under it.
    const double under = (view.scroll_x + 250) / view.pixels_per_sample;
    wheel(120, Qt::ControlModifier, 250);
    EXPECT_EQ(view.visible_samples, 250);
    EXPECT_NEAR((view.scroll_x + 250) / view.pixels_per_sample, under, 0.5);

    // Shift: one channel strip further down the stack.
    EXPECT_EQ(view.scroll_y, 0);
    wheel(-120, Qt::ShiftModifier, 250);
    EXPECT_EQ(view.scroll_y, view.strip_height + HEADER_HEIGHT);
}

TEST_F(MeasureViewTest, KeysScrollByStepsPagesAndToTheEnds) {
    view.OnCommand(CMD_ZOOM_X_IN, 0);
    view.OnCommand(CMD_ZOOM_X_IN, 0); // 250 samples, content 4000 px
    view.scroll_x = 0;
    view.Layout();
    auto key = [&](Qt::Key k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(view.hwnd, &e);
    };
    key(Qt::Key_Right);
    EXPECT_EQ(view.scroll_x, 100);
    key(Qt::Key_PageDown);
    EXPECT_EQ(view.scroll_x, 1100);
    key(Qt::Key_End);
    EXPECT_EQ(view.scroll_x, view.horizontalScroll().lastPosition());
    key(Qt::Key_Home);
    EXPECT_EQ(view.scroll_x, 0);
    key(Qt::Key_Down);
    EXPECT_EQ(view.scroll_y, view.strip_height + HEADER_HEIGHT);
    EXPECT_EQ(view.horizontalBar()->value(), 0);
    EXPECT_EQ(view.verticalBar()->value(), view.scroll_y);
}

// A pointer that stands still while the keys (or a zoom) move the plot under
// it reads what lies under it now, not what lay there before.
TEST_F(MeasureViewTest, StatusReadoutFollowsThePlotScrolledUnderAStillPointer) {
    auto key = [&](Qt::Key k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(view.hwnd, &e);
    };
    view.OnCommand(CMD_ZOOM_X_IN, 0); // 500 samples in 1000 px: 2 px a sample
    view.scroll_x = 0;
    view.Layout();
    move(200, 50); // sample 100, 10 s
    EXPECT_TRUE(frame.status[STATUS_PART_CURSOR].startsWith("ch=0  x=10.0000 s"));
    key(Qt::Key_Right); // a tenth of the client: 100 px, 50 samples
    EXPECT_TRUE(frame.status[STATUS_PART_CURSOR].startsWith("ch=0  x=15.0000 s"))
        << frame.status[STATUS_PART_CURSOR].toStdString();
    key(Qt::Key_Down); // the next channel's strip comes under the pointer
    EXPECT_TRUE(frame.status[STATUS_PART_CURSOR].startsWith("ch=1  x=15.0000 s"))
        << frame.status[STATUS_PART_CURSOR].toStdString();
    key(Qt::Key_Home);
    EXPECT_TRUE(frame.status[STATUS_PART_CURSOR].startsWith("ch=1  x=10.0000 s"));
    view.OnCommand(CMD_ZOOM_X_OUT, 0);
    EXPECT_FALSE(frame.status[STATUS_PART_CURSOR].startsWith("ch=1  x=10.0000 s"));
}

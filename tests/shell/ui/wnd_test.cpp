// The window object layer: Qt events of the widget arrive as the object's
// operations, and the object and its widget live and die together.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>

#include <string>
#include <vector>

#include "frame_test_support.h"
#include "shell/ui/mdi_child_wnd.h"
#include "shell/ui/wnd.h"

namespace {

class ProbeWnd : public CWnd {
  public:
    explicit ProbeWnd(std::vector<std::string>* log) : log_(log) {}
    bool Create(int x, int y, int width, int height, QWidget* parent, int) override {
        return createWindow(DISPLAY_CLASS, parent, x, y, width, height);
    }
    int OnCreate(void*) override { return note("create"), refuse ? -1 : 0; }
    void OnDestroy() override { note("destroy"); }
    int OnClose() override { return note("close"), allowClose; }
    void OnSize(int type, int w, int h) override { note("size", type, w, h); }
    intptr_t OnCommand(int id, intptr_t param) override {
        return note("command", id, int(param)), 7;
    }
    intptr_t OnUserMessage(int m, intptr_t a, intptr_t b) override {
        return note("user", m, int(a), int(b)), 0;
    }
    bool OnKeyDown(int key, int) override { return note("keydown", key), key == Qt::Key_A; }
    bool OnChar(int ch, int) override { return note("char", ch), false; }
    void OnMouseMove(int flags, int x, int y) override { note("move", flags, x, y); }
    void OnLButtonDown(int flags, int x, int y) override { note("ldown", flags, x, y); }
    void OnRButtonUp(int flags, int x, int y) override { note("rup", flags, x, y); }

    bool refuse = false;
    int allowClose = 1;

  private:
    void note(const char* what, int a = 0, int b = 0, int c = 0, int d = 0) {
        log_->push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b) +
                        " " + std::to_string(c) + " " + std::to_string(d));
    }
    std::vector<std::string>* log_;
};

void sendMouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

} // namespace

class WndTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;
};

TEST_F(WndTest, EventsArriveAsOperations) {
    QWidget parent;
    ProbeWnd wnd(&log);
    ASSERT_FALSE(wnd.Create(0, 0, 50, 40, &parent, 0));
    EXPECT_EQ(wnd.windowClass(), QStringLiteral("KelvoDisplayClass"));
    EXPECT_EQ(CWnd::fromWidget(wnd.hwnd), &wnd);
    log.clear();

    QResizeEvent resize(QSize(120, 80), QSize(50, 40));
    QApplication::sendEvent(wnd.hwnd, &resize);
    // A captured pointer left of the window reports a negative x.
    sendMouse(wnd.hwnd, QEvent::MouseMove, QPointF(-5, 12), Qt::NoButton, Qt::LeftButton,
              Qt::ShiftModifier);
    sendMouse(wnd.hwnd, QEvent::MouseButtonPress, QPointF(3, 4), Qt::LeftButton, Qt::LeftButton,
              Qt::ControlModifier);
    sendMouse(wnd.hwnd, QEvent::MouseButtonRelease, QPointF(6, 7), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(wnd.hwnd == nullptr, false);
    EXPECT_EQ(sendCommand(wnd.hwnd, 2100, 99), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"size 0 120 80 0", "move 5 -5 12 0", "ldown 9 3 4 0",
                                             "rup 0 6 7 0", "command 2100 99 0 0"}));
}

TEST_F(WndTest, KeysTheObjectLeavesGoToTheParent) {
    QWidget parent;
    ProbeWnd wnd(&log);
    wnd.Create(0, 0, 10, 10, &parent, 0);
    log.clear();
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(wnd.hwnd, &a);
    EXPECT_TRUE(a.isAccepted());
    QKeyEvent b(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QApplication::sendEvent(wnd.hwnd, &b);
    EXPECT_FALSE(b.isAccepted());
    EXPECT_EQ(log, (std::vector<std::string>{"keydown 65 0 0 0", "char 97 0 0 0",
                                             "keydown 66 0 0 0", "char 98 0 0 0"}));
}

TEST_F(WndTest, PostedMessagesArriveLaterAndNotAfterTheWindowIsGone) {
    QWidget parent;
    auto wnd = std::make_unique<ProbeWnd>(&log);
    wnd->Create(0, 0, 10, 10, &parent, 0);
    log.clear();
    postUserMessage(wnd->hwnd, WM_USER + 5, 1, 2);
    postCommand(wnd->hwnd, 2101, 3);
    EXPECT_TRUE(log.empty());
    settle();
    EXPECT_EQ(log, (std::vector<std::string>{"user 1029 1 2 0", "command 2101 3 0 0"}));

    log.clear();
    postCommand(wnd->hwnd, 2105, 0);
    wnd.reset(); // the widget goes with its object, and its queue with it
    settle();
    EXPECT_TRUE(log.empty());
}

TEST_F(WndTest, CloseAsksTheObjectAndDestroyRunsOnDestroy) {
    QWidget parent;
    ProbeWnd wnd(&log);
    wnd.Create(0, 0, 10, 10, &parent, 0);
    wnd.allowClose = 0;
    log.clear();
    QCloseEvent refused;
    QApplication::sendEvent(wnd.hwnd, &refused);
    EXPECT_FALSE(refused.isAccepted());
    ASSERT_NE(wnd.hwnd, nullptr);
    wnd.allowClose = 1;
    QCloseEvent allowed;
    QApplication::sendEvent(wnd.hwnd, &allowed);
    EXPECT_EQ(wnd.hwnd, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"close 0 0 0 0", "close 0 0 0 0", "destroy 0 0 0 0"}));
    settle();
}

TEST_F(WndTest, ARefusedCreationLeavesNoWindow) {
    QWidget parent;
    ProbeWnd wnd(&log);
    wnd.refuse = true;
    EXPECT_TRUE(wnd.Create(0, 0, 10, 10, &parent, 0));
    EXPECT_EQ(wnd.hwnd, nullptr);
    EXPECT_TRUE(parent.findChildren<QWidget*>().isEmpty());
}

TEST_F(WndTest, ParentDestructionRunsOnDestroyOnce) {
    ProbeWnd wnd(&log);
    {
        QWidget parent;
        wnd.Create(0, 0, 10, 10, &parent, 0);
        log.clear();
    }
    EXPECT_EQ(wnd.hwnd, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"destroy 0 0 0 0"}));
}

// The frame's menus, accelerators, toolbar and status bar as the user meets
// them. The expected tables are written out here, not taken from the code.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include <utility>
#include <vector>

#include "frame_test_support.h"
#include "shell/ui/menu_builder.h"
#include "shell/ui/program_icons.h"
#include "shell/ui/status_bar.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

using Items = std::vector<std::pair<int, const char*>>; // id 0: separator

void expectItems(const QMenu* menu, const Items& expected) {
    QList<QAction*> actual = menu->actions();
    ASSERT_EQ(size_t(actual.size()), expected.size()) << menu->title().toStdString();
    for (size_t i = 0; i < expected.size(); ++i) {
        const QAction* a = actual[int(i)];
        EXPECT_EQ(a->isSeparator() ? 0 : commandIdOf(a), expected[i].first) << "item " << i;
        if (expected[i].first != 0) {
            EXPECT_EQ(a->text().toStdString(), expected[i].second);
        }
    }
}

bool enabled(const QMenu* menu, int id) {
    return findCommand(menu, id)->isEnabled();
}

} // namespace

using FrameMenuTest = FrameTest;

TEST_F(FrameMenuTest, MenuBarHoldsEveryPopupItemAndId) {
    QList<QAction*> popups = frame->menuBar()->actions();
    const char* titles[] = {"&File", "&Edit",    "&View",   "&Generate", "&Analysis",
                            "&Plot", "&Options", "&Window", "&Help"};
    ASSERT_EQ(popups.size(), 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(popups[i]->text().toStdString(), titles[i]);

    expectItems(frame->framePopup(0), {{103, "&Open..."},
                                       {126, "S&ave as..."},
                                       {124, "S&ave block..."},
                                       {154, "&Info..."},
                                       {185, "&Export plot..."},
                                       {186, "&Report..."},
                                       {0, ""},
                                       {127, "Exit"}});
    expectItems(frame->framePopup(1), {{310, "&Undo\tCtrl+Z"},
                                       {0, ""},
                                       {193, "&Copy"},
                                       {0, ""},
                                       {279, "Block &set..."},
                                       {200, "&Block info..."},
                                       {278, "Block &erease"}});
    expectItems(frame->framePopup(2), {{201, "Y Range in\tCtrl+&I"},
                                       {202, "Y Range out\tCtrl+&0"},
                                       {0, ""},
                                       {203, "Zoom X in\tCtrl+&W"},
                                       {207, "Zoom X out\tCtrl+&Q"},
                                       {206, "Zoom Y in\tCtrl+&E"},
                                       {204, "Zoom Y out\tCtrl+&D"},
                                       {0, ""},
                                       {212, "Add sample\tCtrl+&A"},
                                       {213, "Sub sample\tCtrl+&S"}});
    expectItems(frame->framePopup(3), {{158, "&Kalman models"}, {320, "&Irregular sea..."}});
    expectItems(frame->framePopup(4), {{159, "&Fourier\tF5"},
                                       {161, "&Kalman\tF6"},
                                       {162, "&Approximation\tF7"},
                                       {163, "&Recalculate\tF9"},
                                       {0, ""},
                                       {192, "&Statistic..."},
                                       {290, "&Wave statistics..."},
                                       {291, "S&pectrum..."},
                                       {292, "R&eflection..."},
                                       {0, ""},
                                       {293, "Ana&lyse files..."}});
    expectItems(frame->framePopup(5), {{220, "&Signal"},
                                       {221, "Signal+&Envelope"},
                                       {222, "Signal+&Cosignal"},
                                       {223, "&All"},
                                       {224, "&Module"}});
    expectItems(frame->framePopup(6),
                {{135, "&Fourier..."}, {198, "&Kalman..."}, {169, "&Approximation..."}});
    // The arrangements follow the items of the original menu, whose ids stay.
    expectItems(
        frame->framePopup(7),
        {{199, "&Close"}, {0, ""}, {300, "&Tile"}, {301, "C&ascade"}, {302, "Arrange &icons"}});
    expectItems(frame->framePopup(8), {{152, "&Contents"}, {0, ""}, {102, "&About..."}});
}

TEST_F(FrameMenuTest, SignalPopupAndAcceleratorTable) {
    std::unique_ptr<QMenu> popup(buildPopup(signalPopup(), frame.get(), nullptr));
    expectItems(popup.get(), {{215, "&Info"},
                              {106, "&Add"},
                              {0, ""},
                              {203, "Zoom X in"},
                              {207, "Zoom X out"},
                              {206, "Zoom Y in"},
                              {204, "Zoom Y out"},
                              {0, ""},
                              {217, "Begin block"},
                              {218, "End block"},
                              {219, "Select all"}});
}

// Every key of table 125, Ctrl+0 as the menu writes it, and Ctrl+Z of Undo,
// pressed for real with a measure window open and focused, reaches the frame
// as its command.
TEST_F(FrameMenuTest, EveryAcceleratorKeyReachesTheFrameWithAChildOpen) {
    const std::vector<std::pair<QKeySequence, int>> expected = {
        {QKeySequence(Qt::CTRL | Qt::Key_A), 212},
        {QKeySequence(Qt::CTRL | Qt::Key_C), 193},
        {QKeySequence(Qt::CTRL | Qt::Key_D), 204},
        {QKeySequence(Qt::CTRL | Qt::Key_E), 206},
        {QKeySequence(Qt::CTRL | Qt::Key_I), 201},
        {QKeySequence(Qt::CTRL | Qt::Key_O), 202},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), 207},
        {QKeySequence(Qt::CTRL | Qt::Key_S), 213},
        {QKeySequence(Qt::CTRL | Qt::Key_V), 195},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), 194},
        {QKeySequence(Qt::Key_F5), 159},
        {QKeySequence(Qt::Key_F6), 161},
        {QKeySequence(Qt::Key_F7), 162},
        {QKeySequence(Qt::Key_F9), 163},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), 193},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), 195},
        {QKeySequence(Qt::CTRL | Qt::Key_W), 203},
        {QKeySequence(Qt::CTRL | Qt::Key_X), 194},
        {QKeySequence(Qt::CTRL | Qt::Key_0), 202},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), 310},
    };
    CMeasureWnd* window = openMeasureWindow(*frame, makeMeasure(2, 5000));
    frame->activateWindow();
    window->view->hwnd->setFocus();
    settle();
    std::vector<int> seen;
    frame->onCommand = [&](int id) { seen.push_back(id); };
    for (const auto& [keys, id] : expected) {
        seen.clear();
        QTest::keySequence(window->view->hwnd, keys);
        settle();
        EXPECT_EQ(seen, std::vector<int>({id})) << keys.toString().toStdString();
    }
    frame->onCommand = nullptr;
    // And the command acts: Ctrl+W zooms the view in, Ctrl+0 widens the range.
    int visible = window->view->visible_samples;
    QTest::keySequence(window->view->hwnd, QKeySequence(Qt::CTRL | Qt::Key_W));
    EXPECT_EQ(window->view->visible_samples, visible / 2);
    EXPECT_EQ(frame->children().size(), 1); // not closed by the sub-window's own Ctrl+W
}

TEST_F(FrameMenuTest, ToolbarButtonsInOrder) {
    QList<QAction*> actions = frame->frameToolBar()->actions();
    ASSERT_EQ(actions.size(), 5);
    const int ids[] = {103, 126, 154, 0, 193};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(actions[i]->isSeparator(), ids[i] == 0);
        EXPECT_EQ(commandIdOf(actions[i]), ids[i]);
        EXPECT_TRUE(actions[i]->isEnabled());
    }
    EXPECT_EQ(frame->frameToolBar()->iconSize(), QSize(16, 15));
    EXPECT_EQ(toolbarImage(TOOLBAR_IMAGE_COPY).size(), QSize(16, 15));
}

TEST_F(FrameMenuTest, StatusBarPartsFollowTheWidthAndFrameHasAMinimumSize) {
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Ondarix ver. 3.2"));
    EXPECT_EQ(frame->property(WINDOW_CLASS_PROPERTY).toString(), QStringLiteral("OndarixClass"));
    CStatusBar* status = frame->statusParts();
    EXPECT_EQ(status->text(0), QStringLiteral("Ready"));
    EXPECT_EQ(status->text(1), QStringLiteral("x=  y="));
    EXPECT_EQ(status->text(2), QStringLiteral("block="));
    EXPECT_EQ(frame->centralWidget()->width(), 1000);
    EXPECT_EQ(status->partEdge(0), 660);
    EXPECT_EQ(status->partEdge(1), 820);
    EXPECT_EQ(status->partEdge(2), 1000);

    frame->resize(40, 30);
    settle();
    EXPECT_GE(frame->width(), 100);
    EXPECT_GE(frame->height(), 100);
}

// Without a window, whatever needs one is greyed: Block set, every View and
// Analysis item and the window arrangements too; Generate and Open are not.
TEST_F(FrameMenuTest, EnablingWithoutChild) {
    QMenu* file = frame->framePopup(0);
    QMenu* edit = frame->framePopup(1);
    QMenu* view = frame->framePopup(2);
    QMenu* generate = frame->framePopup(3);
    QMenu* analysis = frame->framePopup(4);
    QMenu* plot = frame->framePopup(5);
    QMenu* window = frame->framePopup(7);
    for (QMenu* m : {file, edit, view, generate, analysis, plot, window})
        frame->updateMenuState(m);
    EXPECT_TRUE(enabled(file, 103));
    EXPECT_FALSE(enabled(file, 126));
    EXPECT_FALSE(enabled(file, 124));
    EXPECT_FALSE(enabled(file, 154));
    EXPECT_FALSE(enabled(file, 185));
    EXPECT_FALSE(enabled(edit, 193));
    EXPECT_FALSE(enabled(edit, 279));
    for (int id : {201, 202, 203, 207, 206, 204, 212, 213})
        EXPECT_FALSE(enabled(view, id)) << id;
    for (int id : {159, 161, 162, 163, 192, 290, 291, 292})
        EXPECT_FALSE(enabled(analysis, id)) << id;
    EXPECT_TRUE(enabled(generate, 158));
    for (int id : {199, 300, 301, 302})
        EXPECT_FALSE(enabled(window, id)) << id;
    for (int id = 220; id <= 224; ++id) {
        EXPECT_FALSE(enabled(plot, id));
        EXPECT_FALSE(findCommand(plot, id)->isChecked());
    }
    // With one, they come back.
    openMeasureWindow(*frame, makeMeasure(1, 10));
    settle();
    for (QMenu* m : {edit, view, analysis, window})
        frame->updateMenuState(m);
    EXPECT_TRUE(enabled(edit, 279));
    EXPECT_TRUE(enabled(view, 203));
    for (int id : {159, 290, 291, 292})
        EXPECT_TRUE(enabled(analysis, id)) << id;
    EXPECT_TRUE(enabled(window, 300));
}

// Buttons and items say what they do; the status bar forgets a closed window.
TEST_F(FrameMenuTest, TipsAndAStatusBarThatFollowsTheActiveWindow) {
    for (QAction* a : frame->frameToolBar()->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->toolTip().isEmpty()) << commandIdOf(a);
        }
    }
    for (QMenu* m : {frame->framePopup(0), frame->framePopup(4)}) {
        for (QAction* a : m->actions()) {
            if (!a->isSeparator()) {
                EXPECT_FALSE(a->statusTip().isEmpty()) << commandIdOf(a);
            }
        }
    }

    CMeasureWnd* first = openMeasureWindow(*frame, makeMeasure(1, 100, 10, "/a/first.INT"));
    CMeasureWnd* second = openMeasureWindow(*frame, makeMeasure(1, 100, 10, "/a/second.INT"));
    settle();
    first->view->SetBlock(0, 10, 20);
    second->view->SetBlock(0, 30, 30);
    frame->setStatusText(STATUS_PART_CURSOR, "ch=0  x=1.0000 s  y=2.0000 m");
    frame->mdiClient()->setActiveSubWindow(first->subWindow());
    settle();
    EXPECT_EQ(frame->statusParts()->text(STATUS_PART_CURSOR), "x=  y=");
    EXPECT_TRUE(frame->statusParts()->text(STATUS_PART_BLOCK).startsWith("0: 10-20"));
    first->subWindow()->close();
    second->subWindow()->close();
    settle();
    EXPECT_EQ(frame->statusParts()->text(STATUS_PART_BLOCK), "block=");

    // A long readout widens its part instead of being cut.
    frame->resize(1000, 700);
    settle();
    const QString readout = "ch=12  x=123456.7890 s  y=-0.0012 m/s";
    frame->setStatusText(STATUS_PART_CURSOR, readout);
    QLabel* part = nullptr;
    for (QLabel* label : frame->statusParts()->findChildren<QLabel*>())
        if (label->text() == readout) part = label;
    ASSERT_NE(part, nullptr);
    EXPECT_GE(part->width(), part->fontMetrics().horizontalAdvance(readout));
}

TEST_F(FrameMenuTest, EnablingFollowsTheChildsBlockAndPlotMode) {
    CMeasureWnd* child = openMeasureWindow(*frame, makeMeasure(2, 100));
    ASSERT_NE(child, nullptr);
    settle();
    QMenu* file = frame->framePopup(0);
    QMenu* edit = frame->framePopup(1);
    QMenu* plot = frame->framePopup(5);
    for (QMenu* m : {file, edit, plot})
        frame->updateMenuState(m);
    // An empty block: saving and copying it make no sense yet.
    EXPECT_TRUE(enabled(file, 126));
    EXPECT_TRUE(enabled(file, 154));
    EXPECT_TRUE(enabled(file, 185));
    EXPECT_FALSE(enabled(file, 124));
    EXPECT_FALSE(enabled(edit, 193));
    EXPECT_FALSE(enabled(edit, 200));
    EXPECT_FALSE(enabled(edit, 278));
    EXPECT_TRUE(enabled(edit, 279));
    EXPECT_TRUE(findCommand(plot, 220)->isChecked());

    child->view->SetBlock(1, 10, 20);
    frame->frameCommand(222, 0); // Signal+Cosignal
    for (QMenu* m : {file, edit, plot})
        frame->updateMenuState(m);
    EXPECT_TRUE(enabled(file, 124));
    EXPECT_TRUE(enabled(edit, 193));
    EXPECT_TRUE(enabled(edit, 200));
    EXPECT_TRUE(enabled(edit, 278));
    for (int id = 220; id <= 224; ++id) {
        EXPECT_TRUE(enabled(plot, id));
        EXPECT_EQ(findCommand(plot, id)->isChecked(), id == 222) << id;
    }
}

TEST_F(FrameMenuTest, WindowMenuListsChildrenAndActivatesThem) {
    CMeasureWnd* first = openMeasureWindow(*frame, makeMeasure(1, 10, 10, "/a/first.INT"));
    CMeasureWnd* second = openMeasureWindow(*frame, makeMeasure(1, 10, 10, "/a/second.INT"));
    settle();
    EXPECT_EQ(frame->activeChild(), second);
    QMenu* window = frame->framePopup(7);
    frame->updateMenuState(window);
    QAction* entry = findCommand(window, 1000);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->text().endsWith(QStringLiteral("/a/first.INT")));
    EXPECT_TRUE(findCommand(window, 1001)->isChecked());
    entry->trigger();
    EXPECT_EQ(frame->activeChild(), first);
    // Opening the menu again rebuilds the list rather than growing it.
    frame->updateMenuState(window);
    EXPECT_EQ(window->actions().size(), 8);
    // Cascade keeps the windows large, each a step from the one before.
    frame->frameCommand(CMD_CASCADE_WINDOWS, 0);
    QSize space = frame->mdiClient()->viewport()->size();
    for (CMDIChildWnd* child :
         {static_cast<CMDIChildWnd*>(first), static_cast<CMDIChildWnd*>(second)})
        EXPECT_GT(child->subWindow()->width(), space.width() * 3 / 4);
    EXPECT_NE(first->subWindow()->pos(), second->subWindow()->pos());
}

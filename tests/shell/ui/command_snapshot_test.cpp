// Every command the frame offers, written out as text and compared with
// command_snapshot.txt: the menu bar's items (text with its accelerator, id,
// tips), the toolbar, the window-wide keys, the view's popup and the greying
// and radio marks of every popup in the situations a user meets. Whatever
// builds the menus, the user must meet the same ones.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/ui/result_wnd.h"
#include "frame_test_support.h"
#include "measure/atomic_file.h"
#include "shell/dialog_templates.h"
#include "shell/ui/menu_builder.h"
#include "support/temp_dir.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

std::string quoted(const QString& text) {
    std::string s = text.toStdString();
    std::string out = "\"";
    for (char c : s)
        out += c == '\t' ? std::string("\\t") : std::string(1, c);
    return out + "\"";
}

// A short fingerprint of an icon's pixels, so that a changed picture shows.
std::string iconPrint(const QIcon& icon) {
    if (icon.isNull()) return "none";
    QImage image = icon.pixmap(16, 15).toImage().convertToFormat(QImage::Format_ARGB32);
    uint32_t hash = 2166136261u;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width() * 4; ++x)
            hash = (hash ^ line[x]) * 16777619u;
    }
    return std::to_string(image.width()) + "x" + std::to_string(image.height()) + ":" +
           std::to_string(hash);
}

std::string describe(const QAction* a) {
    if (a->isSeparator()) return "  ---\n";
    std::ostringstream out;
    out << "  " << commandIdOf(a) << " " << quoted(a->text())
        << " keys=" << quoted(a->shortcut().toString(QKeySequence::PortableText))
        << " status=" << quoted(a->statusTip()) << " tool=" << quoted(a->toolTip()) << "\n";
    return out.str();
}

std::string menuLayout(const QMenu* menu) {
    std::string out = quoted(menu->title()) + "\n";
    for (const QAction* a : menu->actions())
        out += describe(a);
    return out;
}

// "+" enabled, "-" greyed, "*" checked as well; "|" a separator.
std::string menuState(const QMenu* menu) {
    std::string out = menu->title().toStdString() + ":";
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out += " |";
            continue;
        }
        out += " " + std::to_string(commandIdOf(a)) + (a->isEnabled() ? "+" : "-");
        if (a->isCheckable()) out += a->isChecked() ? "*" : "o";
    }
    return out + "\n";
}

class CommandSnapshotTest : public FrameTest {
  protected:
    std::string layout() {
        std::string out = "== menu bar\n";
        for (const QAction* popup : frame->menuBar()->actions())
            out += menuLayout(popup->menu());
        out += "== toolbar\n";
        for (const QAction* a : frame->frameToolBar()->actions()) {
            out += describe(a);
            if (!a->isSeparator()) out += "    icon=" + iconPrint(a->icon()) + "\n";
        }
        // The order of window-wide keys means nothing; they are listed sorted.
        std::vector<std::string> keys;
        for (const QAction* a : frame->actions())
            keys.push_back(describe(a));
        std::sort(keys.begin(), keys.end());
        out += "== keys\n";
        for (const std::string& k : keys)
            out += k;
        std::unique_ptr<QMenu> popup(buildPopup(signalPopup(), frame.get(), nullptr));
        return out + "== view popup\n" + menuLayout(popup.get());
    }
    std::string state(const char* situation) {
        std::string out = std::string("== ") + situation + "\n";
        for (const QAction* bar : frame->menuBar()->actions()) {
            frame->updateMenuState(bar->menu());
            out += menuState(bar->menu());
        }
        return out;
    }
    void waitIdle() {
        auto* window = dynamic_cast<CResultWnd*>(frame->activeChild());
        QElapsedTimer clock;
        clock.start();
        while (window && window->running() && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        settle();
    }
};

} // namespace

TEST_F(CommandSnapshotTest, MenusKeysTipsAndGreyingAreAsWrittenOut) {
    std::string actual = layout();
    actual += state("no window");
    CMeasureWnd* window = openMeasureWindow(*frame, makeMeasure(2, 2048));
    ASSERT_NE(window, nullptr);
    settle();
    actual += state("measure window, no block");
    window->view->SetBlock(1, 100, 1124);
    frame->frameCommand(CMD_PLOT_COSIGNAL, 0);
    actual += state("measure window with a block, signal and cosignal");
    frame->frameCommand(CMD_BLOCK_ERASE, 0);
    actual += state("after block erease");
    frame->frameCommand(CMD_UNDO, 0);
    actual += state("after undo");
    dialogScript::pushDialog([](ScriptedDialog& d) { d.press(IDOK); });
    frame->frameCommand(CMD_FOURIER, 0);
    waitIdle();
    ASSERT_NE(dynamic_cast<CResultWnd*>(frame->activeChild()), nullptr);
    actual += state("fourier result window");
    window->subWindow()->close();
    frame->activeChild()->subWindow()->close();
    settle();
    actual += state("windows closed again");

    std::ifstream file(COMMAND_SNAPSHOT);
    std::stringstream expected;
    expected << file.rdbuf();
    ASSERT_TRUE(file.good()) << COMMAND_SNAPSHOT;
    if (expected.str() != actual) {
        // The whole text beside the build, to compare with a diff tool.
        if (const char* dir = std::getenv("ONDARIX_TEST_TMP")) {
            std::error_code ec;
            std::filesystem::create_directories(dir, ec);
            replaceFile(std::string(dir) + "/command_snapshot.txt", actual, nullptr);
        }
    }
    std::vector<std::string> want = textLines(expected.str());
    std::vector<std::string> got = textLines(actual);
    for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        ASSERT_EQ(i < got.size() ? got[i] : "(missing)", i < want.size() ? want[i] : "(missing)")
            << "line " << i + 1;
    }
}

// The whole way a crash takes: the program started on the bundled sample, a
// block erased through the Edit menu, the program killed (SIGKILL: nothing of
// it runs any more), then started again and the copy restored.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "frame_test_support.h"
#include "measure/int_format.h"
#include "shell/ui/application.h"
#include "shell/ui/menu_builder.h"
#include "support/temp_dir.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

extern char** environ;

namespace {

constexpr int CHANNEL = 1;
constexpr int FROM = 1000;
constexpr int TO = 1100;
constexpr const char* STATE_VARIABLE = "ONDARIX_TEST_KILLED_STATE";

// The first menu-bar action of `frame` that sends `id`.
QAction* menuAction(CMainFrame& frame, int id) {
    for (QAction* top : frame.menuBar()->actions()) {
        QMenu* popup = top->menu();
        if (!popup) continue;
        frame.updateMenuState(popup); // as opening the menu does
        for (QAction* item : popup->actions())
            if (commandIdOf(item) == id) return item;
    }
    return nullptr;
}

// The recovery copies in `folder`.
int copiesIn(const std::string& folder) {
    int n = 0;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        n += it->path().extension() == ".recovery";
    return n;
}

// This test program again, running only the program's part below, with its
// state folder in `state`; its output is dropped.
pid_t startKilledProgram(const std::string& state) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.push_back(std::string(STATE_VARIABLE) + "=" + state);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    std::string filter = "--gtest_filter=RecoveryAfterKill.DISABLED_ProgramErasingABlock";
    std::string disabled = "--gtest_also_run_disabled_tests";
    char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

// The program's side, run by the test below in a process of its own: the
// start as main() makes it, on the sample, then Edit -> Block erease, then
// the message loop until the process is killed.
TEST(RecoveryAfterKill, DISABLED_ProgramErasingABlock) {
    const char* state = std::getenv(STATE_VARIABLE);
    if (!state) GTEST_SKIP() << "run by ErasedBlockComesBackAfterSigkill";
    setenv("XDG_STATE_HOME", state, 1);
    OndarixApp app;
    ASSERT_TRUE(app.startUp(QStringLiteral(SAMPLE_FILE)));
    auto* window = dynamic_cast<CMeasureWnd*>(app.frame()->activeChild());
    ASSERT_TRUE(window);
    window->view->SetBlock(CHANNEL, FROM, TO);
    QAction* erase = menuAction(*app.frame(), CMD_BLOCK_ERASE);
    ASSERT_TRUE(erase && erase->isEnabled());
    erase->trigger();
    QCoreApplication::exec();
}

TEST(RecoveryAfterKill, ErasedBlockComesBackAfterSigkill) {
    TempDir state;
    const std::string folder = state.file("ondarix");
    pid_t program = startKilledProgram(state.path());
    ASSERT_GT(program, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (copiesIn(folder) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(program, SIGKILL);
    int status = 0;
    ::waitpid(program, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the program ended before it was killed, status " << status;
    ASSERT_EQ(copiesIn(folder), 1);

    CMeasure original;
    ASSERT_TRUE(readInt(original, SAMPLE_FILE));
    const std::string oldState = std::getenv("XDG_STATE_HOME");
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    dialogScript::begin();
    dialogScript::pushRestoreChoice(RestoreChoice::Restore);
    {
        OndarixApp app;
        ASSERT_TRUE(app.startUp(QString()));
        settle();
        ASSERT_EQ(dialogScript::questions().size(), 1);
        ASSERT_EQ(app.frame()->children().size(), 1);
        auto* window = dynamic_cast<CMeasureWnd*>(app.frame()->children()[0]);
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isModified());
        EXPECT_STREQ(window->measure->path, SAMPLE_FILE);
        EXPECT_EQ(window->title(), QStringLiteral(SAMPLE_FILE "*"));
        const CMeasure& m = *window->measure;
        ASSERT_EQ(m.sampleCount, original.sampleCount);
        int zero = 0, same = 0;
        for (int j = 0; j < m.sampleCount; ++j) {
            const bool inBlock = j >= FROM && j < TO;
            zero += inBlock && m.value(CHANNEL, j) == 0.0f && m.sample(CHANNEL, j).im == 0.0f;
            same += !inBlock && m.value(CHANNEL, j) == original.value(CHANNEL, j);
        }
        EXPECT_EQ(zero, TO - FROM);
        EXPECT_EQ(same, m.sampleCount - (TO - FROM));
        // Ended normally, the user discarding the changes: no copy is left.
        dialogScript::pushSaveChoice(SaveChoice::Discard);
        app.frame()->close();
        app.finish();
    }
    settle();
    EXPECT_EQ(copiesIn(folder), 0);
    dialogScript::end();
    setenv("XDG_STATE_HOME", oldState.c_str(), 1);
}

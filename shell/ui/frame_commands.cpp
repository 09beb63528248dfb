#include "shell/ui/frame_commands.h"

#include <QCoreApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

#include "shell/child_commands.h"
#include "shell/command_ids.h"
#include "shell/dialog_templates.h"
#include "shell/help_file.h"
#include "shell/ui/command_groups.h"
#include "shell/ui/dialog.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/mdi_child_wnd.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/option_commands.h"
#include "shell/ui/warning_message.h"

FrameCommands::FrameCommands(CMainFrame& frame) : frame_(frame) {
    groups_.push_back(std::make_unique<OptionCommands>(&frame));
    for (const CommandGroupFactory& make : commandGroupFactories())
        groups_.push_back(make(frame));
}

FrameCommands::~FrameCommands() = default;

intptr_t FrameCommands::forwardToChild(int id, intptr_t param) {
    CMDIChildWnd* child = frame_.activeChild();
    return child ? child->OnCommand(id, param) : 0;
}

intptr_t FrameCommands::OnCommand(int id, intptr_t param) {
    std::vector<std::shared_ptr<void>> watching;
    for (const CommandWatch& watch : commandWatches())
        watching.push_back(watch(frame_, id));
    if (isChildCommand(id)) return forwardToChild(id, param);
    for (const auto& group : groups_)
        if (group->OnCommand(id)) return 0;
    switch (id) {
    case CMD_ABOUT:
        OnAbout();
        break;
    case CMD_EXIT:
        OnExit();
        break;
    case CMD_HELP_CONTENTS:
        OnHelpContents();
        break;
    case CMD_CLOSE_WINDOW:
        OnCloseWindow();
        break;
    case CMD_TILE_WINDOWS:
        frame_.mdiClient()->tileSubWindows();
        break;
    case CMD_CASCADE_WINDOWS:
        OnCascade();
        break;
    case CMD_ARRANGE_ICONS:
        OnArrangeIcons();
        break;
    default:
        // The window list; every other id (194 and 195 among them) does nothing.
        if (id >= CMD_FIRST_CHILD) OnActivateChild(id - CMD_FIRST_CHILD);
        break;
    }
    return 0;
}

BlockRange FrameCommands::childBlock() const {
    BlockRange block{0, 0, 0};
    if (CMDIChildWnd* child = frame_.activeChild())
        child->OnCommand(CMD_GET_BLOCK, reinterpret_cast<intptr_t>(&block));
    return block;
}

int32_t FrameCommands::childPlotCommand() const {
    int32_t command = 0;
    if (CMDIChildWnd* child = frame_.activeChild())
        child->OnCommand(CMD_GET_PLOT_COMMAND, reinterpret_cast<intptr_t>(&command));
    return command;
}

bool FrameCommands::childCanUndo() const {
    int32_t can = 0;
    if (CMDIChildWnd* child = frame_.activeChild())
        child->OnCommand(CMD_GET_UNDO, reinterpret_cast<intptr_t>(&can));
    return can != 0;
}

CMeasure* FrameCommands::childMeasure() const {
    CMeasure* measure = nullptr;
    if (CMDIChildWnd* child = frame_.activeChild())
        child->OnCommand(CMD_GET_MEASURE, reinterpret_cast<intptr_t>(&measure));
    return measure;
}

void FrameCommands::OnAbout() {
    CDialog about;
    showDialog(about, &frame_, DIALOG_ABOUT);
}

void FrameCommands::OnHelpContents() {
    const std::string executable =
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    const QString path = QFile::decodeName(findHelpFile(executable).c_str());
    if (path.isEmpty()) {
        showWarning(&frame_, QStringLiteral("the user manual (%1) is neither beside the program "
                                            "nor in its share directory")
                                 .arg(QLatin1String(HELP_FILE_NAME)));
        return;
    }
    if (!modalUi().openUrl(QUrl::fromLocalFile(path)))
        showWarning(&frame_, QStringLiteral("no program of the desktop opened the user manual; "
                                            "open %1 in a web browser")
                                 .arg(path));
}

void FrameCommands::OnExit() {
    QMetaObject::invokeMethod(
        &frame_, [frame = &frame_] { frame->close(); }, Qt::QueuedConnection);
}

void FrameCommands::OnCloseWindow() {
    if (CMDIChildWnd* child = frame_.activeChild())
        if (QMdiSubWindow* window = child->subWindow()) window->close();
}

// Overlapping, each a step right and down from the one before, all of one
// size: most of the workspace (Qt's own cascade shrinks our windows to
// their size hint, which says nothing).
void FrameCommands::OnCascade() {
    constexpr int STEP = 28;
    QMdiArea* area = frame_.mdiClient();
    QSize space = area->viewport()->size();
    QSize size = space * 17 / 20;
    QPoint at(0, 0);
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::StackingOrder)) {
        if (window->isMinimized() || window->isHidden()) continue;
        if (window->isMaximized()) window->showNormal();
        if (at.x() + size.width() > space.width() || at.y() + size.height() > space.height())
            at = QPoint(0, 0);
        window->setGeometry(QRect(at, size));
        window->raise();
        at += QPoint(STEP, STEP);
    }
}

// Minimised windows in a row along the bottom of the workspace.
void FrameCommands::OnArrangeIcons() {
    QMdiArea* area = frame_.mdiClient();
    int x = 0;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized()) continue;
        QSize size = window->size();
        if (x > 0 && x + size.width() > area->viewport()->width()) x = 0;
        window->move(x, area->viewport()->height() - size.height());
        x += size.width();
    }
}

void FrameCommands::OnActivateChild(int index) {
    QList<CMDIChildWnd*> list = frame_.children();
    if (index < 0 || index >= list.size() || !list[index]->subWindow()) return;
    QMdiSubWindow* window = list[index]->subWindow();
    if (window->isMinimized()) window->showNormal();
    frame_.mdiClient()->setActiveSubWindow(window);
}

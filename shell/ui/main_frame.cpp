#include "shell/ui/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include <algorithm>

#include "shell/command_ids.h"
#include "shell/command_table.h"
#include "shell/menu_state.h"
#include "shell/menus.h"
#include "shell/ui/frame_commands.h"
#include "shell/ui/mdi_child_wnd.h"
#include "shell/ui/menu_builder.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/program_icons.h"
#include "shell/ui/status_bar.h"
#include "shell/ui/wnd.h"
#include "shell/window_classes.h"

namespace {

constexpr const char* WINDOW_LIST_PROPERTY = "windowListEntry";

// The frame's client area: lays out its fixed children on every resize.
class FrameClient : public QWidget {
  public:
    explicit FrameClient(CMainFrame* frame) : QWidget(frame), frame_(frame) {}

  protected:
    void resizeEvent(QResizeEvent*) override { frame_->Layout(width(), height()); }

  private:
    CMainFrame* frame_;
};

} // namespace

CMainFrame::CMainFrame() : commands_(std::make_unique<FrameCommands>(*this)) {
    setProperty(WINDOW_CLASS_PROPERTY, QString::fromLatin1(FRAME_CLASS));
    setWindowTitle(QString::fromLatin1(FRAME_TITLE));
    setWindowIcon(programIcon(ICON_PROGRAM));
    setMinimumSize(FRAME_MIN_SIZE, FRAME_MIN_SIZE);
    createFixedChildren();
    createMenus();
    addAccelerators(this, [this](int id) { frameCommand(id, 0); });
    setFrameServices(this);
}

CMainFrame::~CMainFrame() {
    savePlacement();
    // The children go first, while the frame they report to still exists.
    delete mdi_;
    mdi_ = nullptr;
    if (frameServices() == this) setFrameServices(nullptr);
}

void CMainFrame::createFixedChildren() {
    auto* client = new FrameClient(this);
    setCentralWidget(client);

    toolBar_ = new QToolBar(client);
    toolBar_->setProperty("controlId", TOOLBAR_ID);
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(TOOLBAR_IMAGE_WIDTH, TOOLBAR_IMAGE_HEIGHT));
    for (int id : toolbarCommands()) {
        const CommandInfo* row = commandInfo(id);
        if (!row) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = toolBar_->addAction(QIcon(toolbarImage(row->toolbarImage)), QString());
        action->setProperty(COMMAND_ID_PROPERTY, id);
        action->setToolTip(QString::fromLatin1(row->toolTip));
        action->setStatusTip(QString::fromLatin1(row->statusTip));
        connect(action, &QAction::triggered, this, [this, id] { frameCommand(id, 0); });
    }

    status_ = new CStatusBar(client);
    status_->setProperty("controlId", STATUS_BAR_ID);
    status_->setText(STATUS_PART_HINT, QStringLiteral("Ready"));
    status_->setParts(STATUS_FIRST_EDGE, STATUS_SECOND_EDGE);
    status_->setText(STATUS_PART_CURSOR, QString::fromLatin1(STATUS_CURSOR_IDLE));
    status_->setText(STATUS_PART_BLOCK, QString::fromLatin1(STATUS_BLOCK_IDLE));

    mdi_ = new QMdiArea(client);
    mdi_->setFrameShape(QFrame::Panel);
    mdi_->setFrameShadow(QFrame::Sunken);
    // Windows moved or left partly outside stay reachable.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The last window gone, nothing is left to read out.
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        // The area may pass through "none" while it rearranges; the window it
        // settles on speaks for itself again.
        if (CMDIChildWnd* child = CMDIChildWnd::fromSubWindow(window)) {
            child->OnMDIActivate(true);
            return;
        }
        // "None" also comes while the frame itself is inactive (a dialog is
        // up); only when no window is current any more is there nothing to show.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (mdi_ && mdi_->currentSubWindow()) return;
                status_->setText(STATUS_PART_CURSOR, QString::fromLatin1(STATUS_CURSOR_IDLE));
                status_->setText(STATUS_PART_BLOCK, QString::fromLatin1(STATUS_BLOCK_IDLE));
            },
            Qt::QueuedConnection);
    });
}

void CMainFrame::createMenus() {
    QMenuBar* bar = buildMenuBar(this, [this](int id) { frameCommand(id, 0); });
    setMenuBar(bar);
    for (QAction* action : bar->actions()) {
        QMenu* popup = action->menu();
        if (!popup) continue;
        popups_.append(popup);
        connect(popup, &QMenu::aboutToShow, this, [this, popup] { updateMenuState(popup); });
    }
}

QMenu* CMainFrame::framePopup(int index) const {
    return index >= 0 && index < popups_.size() ? popups_[index] : nullptr;
}

void CMainFrame::Layout(int width, int height) {
    if (!mdi_) return;
    int toolHeight = toolBar_->sizeHint().height();
    int statusHeight = status_->sizeHint().height();
    toolBar_->setGeometry(0, 0, width, toolHeight);
    // A frame at its minimum size may leave the MDI area no height at all.
    mdi_->setGeometry(0, toolHeight, width, std::max(0, height - statusHeight - toolHeight));
    status_->setGeometry(0, height - statusHeight, width, statusHeight);
    status_->setParts(width - STATUS_FIRST_FROM_RIGHT, width - STATUS_SECOND_FROM_RIGHT);
}

void CMainFrame::setStatusText(int part, const QString& text) {
    status_->setText(part, text);
}

void CMainFrame::trackSignalPopup(QWidget* owner, const QPoint& globalPos) {
    int id = modalUi().popupMenu(signalPopup(), owner ? owner : this, globalPos);
    if (id != 0) frameCommand(id, 0);
}

intptr_t CMainFrame::frameCommand(int id, intptr_t param) {
    return commands_->OnCommand(id, param);
}

CMDIChildWnd* CMainFrame::activeChild() const {
    return mdi_ ? CMDIChildWnd::fromSubWindow(mdi_->currentSubWindow()) : nullptr;
}

bool CMainFrame::activeChildMaximized() const {
    CMDIChildWnd* child = activeChild();
    return child && child->subWindow() && child->subWindow()->isMaximized();
}

QList<CMDIChildWnd*> CMainFrame::children() const {
    QList<CMDIChildWnd*> list;
    if (!mdi_) return list;
    for (QMdiSubWindow* window : mdi_->subWindowList(QMdiArea::CreationOrder))
        if (CMDIChildWnd* child = CMDIChildWnd::fromSubWindow(window)) list.append(child);
    return list;
}

void CMainFrame::updateMenuState(QMenu* popup) {
    if (popup == framePopup(WINDOW_MENU_INDEX)) fillWindowList(popup);
    QList<QAction*> actions = popup->actions();
    if (actions.isEmpty()) return;
    MenuContext context;
    context.hasChild = activeChild() != nullptr;
    context.block = commands_->childBlock();
    context.canUndo = commands_->childCanUndo();
    bool plotModeRead = false;
    for (QAction* action : actions) {
        // Separators and the window list have no row and keep their state.
        const CommandInfo* row = commandInfo(commandIdOf(action));
        if (!row) continue;
        if (row->rule == EnableRule::PlotChoice && context.hasChild && !plotModeRead) {
            context.plotCommand = commands_->childPlotCommand();
            plotModeRead = true;
        }
        MenuItemState state = commandState(*row, context);
        action->setEnabled(state.enabled);
        if (row->rule == EnableRule::PlotChoice) {
            action->setCheckable(true);
            action->setChecked(state.checked);
        }
    }
}

void CMainFrame::fillWindowList(QMenu* windowMenu) {
    for (QAction* action : windowMenu->actions()) {
        if (action->property(WINDOW_LIST_PROPERTY).toBool()) {
            windowMenu->removeAction(action);
            delete action;
        }
    }
    QList<CMDIChildWnd*> list = children();
    if (list.isEmpty()) return;
    windowMenu->addSeparator()->setProperty(WINDOW_LIST_PROPERTY, true);
    CMDIChildWnd* active = activeChild();
    for (int i = 0; i < list.size(); ++i) {
        int id = CMD_FIRST_CHILD + i;
        QAction* action =
            windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(list[i]->title()));
        action->setProperty(WINDOW_LIST_PROPERTY, true);
        action->setProperty(COMMAND_ID_PROPERTY, id);
        action->setCheckable(true);
        action->setChecked(list[i] == active);
        connect(action, &QAction::triggered, this, [this, id] { frameCommand(id, 0); });
    }
}

void CMainFrame::applyPlacement(const WindowPlacement& placement) {
    setGeometry(placement.x, placement.y, placement.width, placement.height);
    if (placement.state == SHOW_MAXIMIZED)
        setWindowState(Qt::WindowMaximized);
    else if (placement.state == SHOW_MINIMIZED)
        setWindowState(Qt::WindowMinimized);
}

void CMainFrame::savePlacement() const {
    int32_t state = isMaximized() ? SHOW_MAXIMIZED : isMinimized() ? SHOW_MINIMIZED : SHOW_NORMAL;
    QRect r = normalGeometry();
    if (!r.isValid()) r = geometry();
    saveWindowPlacement(state, r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

bool CMainFrame::event(QEvent* e) {
    // Menu items and toolbar buttons say what they do in the first part.
    if (e->type() == QEvent::StatusTip && status_) {
        QString tip = static_cast<QStatusTipEvent*>(e)->tip();
        status_->setText(STATUS_PART_HINT, tip.isEmpty() ? QStringLiteral("Ready") : tip);
        return true;
    }
    return QMainWindow::event(e);
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    // Each window with unsaved changes asks in turn; a Cancel, or a save
    // that did not happen, keeps the program and every window.
    for (CMDIChildWnd* child : children()) {
        if (!child->OnClose()) {
            e->ignore();
            return;
        }
    }
    e->accept();
    QCoreApplication::quit();
}

#include "shell/ui/frame_commands.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

#include "shell/command_ids.h"
#include "shell/dialog_templates.h"
#include "shell/help_file.h"
#include "shell/ui/dialog.h"
#include "shell/ui/file_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/mdi_child_wnd.h"
#include "shell/ui/modal_ui.h"

FrameCommands::FrameCommands(CMainFrame& frame)
    : frame_(frame), files_(std::make_unique<FileCommands>(frame)) {}

FrameCommands::~FrameCommands() = default;

bool FrameCommands::isChildCommand(int id) const {
    switch (id) {
    case CMD_VIEW_ADD:
    case CMD_RECALCULATE:
    case CMD_VIEW_COPY:
    case CMD_BLOCK_INFO:
    case CMD_Y_RANGE_IN:
    case CMD_Y_RANGE_OUT:
    case CMD_ZOOM_X_IN:
    case CMD_ZOOM_Y_OUT:
    case CMD_ZOOM_Y_IN:
    case CMD_ZOOM_X_OUT:
    case CMD_ADD_SAMPLE:
    case CMD_SUB_SAMPLE:
    case CMD_VIEW_INFO:
    case CMD_BEGIN_BLOCK:
    case CMD_END_BLOCK:
    case CMD_SELECT_ALL:
    case CMD_PLOT_SIGNAL:
    case CMD_PLOT_ENVELOPE:
    case CMD_PLOT_COSIGNAL:
    case CMD_PLOT_ALL:
    case CMD_PLOT_MODULE:
    case CMD_BLOCK_ERASE:
    case CMD_BLOCK_SET:
    // The queries travel the same way when a caller asks through the frame.
    case CMD_GET_BLOCK:
    case CMD_GET_PLOT_MODE:
    case CMD_GET_MEASURE:
        return true;
    default:
        return false;
    }
}

intptr_t FrameCommands::forwardToChild(int id, intptr_t param) {
    CMDIChildWnd* child = frame_.activeChild();
    return child ? child->OnCommand(id, param) : 0;
}

intptr_t FrameCommands::OnCommand(int id, intptr_t param) {
    if (isChildCommand(id)) return forwardToChild(id, param);
    switch (id) {
    case CMD_ABOUT:
        OnAbout();
        break;
    case CMD_OPEN:
        files_->OnOpen();
        break;
    case CMD_SAVE_BLOCK:
        files_->OnSaveBlock();
        break;
    case CMD_SAVE_AS:
        files_->OnSaveAs();
        break;
    case CMD_EXIT:
        OnExit();
        break;
    case CMD_FOURIER_OPTIONS:
        OnFourierOptions();
        break;
    case CMD_HELP_CONTENTS:
        OnHelpContents();
        break;
    case CMD_INFO:
        OnInfo();
        break;
    case CMD_GENERATE:
        OnGenerate();
        break;
    case CMD_FOURIER:
        OnFourier();
        break;
    case CMD_KALMAN:
        OnKalman();
        break;
    case CMD_APPROXIMATION:
        OnApproximation();
        break;
    case CMD_APROX_OPTIONS:
        OnAproxOptions();
        break;
    case CMD_STATISTIC:
        OnStatistic();
        break;
    case CMD_KALMAN_OPTIONS:
        OnKalmanOptions();
        break;
    case CMD_CLOSE_WINDOW:
        OnCloseWindow();
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

int32_t FrameCommands::childPlotMode() const {
    int32_t mode = 0;
    if (CMDIChildWnd* child = frame_.activeChild())
        child->OnCommand(CMD_GET_PLOT_MODE, reinterpret_cast<intptr_t>(&mode));
    return mode;
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
    const QString path =
        QString::fromStdString(helpFilePath(QCoreApplication::applicationFilePath().toStdString()));
    const QUrl url = QUrl::fromLocalFile(path);
    // A missing file is the viewer's to report.
    modalUi().openUrl(url);
}

void FrameCommands::OnExit() {
    QMetaObject::invokeMethod(
        &frame_, [frame = &frame_] { frame->close(); }, Qt::QueuedConnection);
}

void FrameCommands::OnCloseWindow() {
    if (CMDIChildWnd* child = frame_.activeChild())
        if (QMdiSubWindow* window = child->subWindow()) window->close();
}

void FrameCommands::OnActivateChild(int index) {
    QList<CMDIChildWnd*> list = frame_.children();
    if (index < 0 || index >= list.size() || !list[index]->subWindow()) return;
    QMdiSubWindow* window = list[index]->subWindow();
    if (window->isMinimized()) window->showNormal();
    frame_.mdiClient()->setActiveSubWindow(window);
}

// Measure configuration dialog on the child's measurement: not built yet.
void FrameCommands::OnInfo() {}
// Generator dialog and window: not built yet.
void FrameCommands::OnGenerate() {}
// Fourier run dialog and result window: not built yet.
void FrameCommands::OnFourier() {}
// Kalman run dialog and result window: not built yet.
void FrameCommands::OnKalman() {}
// Approximation run dialog and result window: not built yet.
void FrameCommands::OnApproximation() {}
// Statistic dialog: not built yet.
void FrameCommands::OnStatistic() {}
// Option dialogs: not built yet.
void FrameCommands::OnFourierOptions() {}
void FrameCommands::OnKalmanOptions() {}
void FrameCommands::OnAproxOptions() {}

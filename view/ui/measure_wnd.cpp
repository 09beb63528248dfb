#include "view/ui/measure_wnd.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QString>

#include <algorithm>

#include "measure/text_encoding.h"
#include "shell/command_ids.h"
#include "shell/dialog_templates.h"
#include "shell/ui/dialog.h"
#include "shell/ui/frame_services.h"
#include "shell/ui/main_frame.h"
#include "shell/window_classes.h"
#include "view/ui/block_dlg.h"
#include "view/ui/measure_view.h"
#include "view/ui/parametry_sygnalu_dlg.h"
#include "view/ui/save_question.h"
#include "view/ui/view_dialog_templates.h"

bool fitBlock(const CMeasure* measure, const BlockRange& wanted, BlockRange& block) {
    if (!measure || !measure->hasChannel(wanted.channel)) return false;
    auto clamp = [&](int32_t v) { return std::clamp(v, int32_t(0), measure->sampleCount); };
    block = {wanted.channel, clamp(wanted.from), clamp(wanted.to)};
    return true;
}

CMeasureWnd::CMeasureWnd() = default;

CMeasureWnd::~CMeasureWnd() {
    release();
}

CMeasureWnd* showInNewWindow(CMainFrame& frame, CMeasureWnd* window, OwnedMeasure measure,
                             bool maximized, const ChannelExtremes* seen) {
    if (window->Create(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       frame.mdiClient(), maximized ? WS_MAXIMIZE : 0)) {
        delete window;
        return nullptr;
    }
    if (seen)
        window->AttachRead(std::move(measure), *seen);
    else
        window->Attach(std::move(measure));
    return window;
}

bool CMeasureWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(MEASURE_CLASS, QStringLiteral("Measure Data"), parent, x, y, width, height,
                       style);
}

int CMeasureWnd::OnCreate(void*) {
    return createView(PLOT_SIGNAL);
}

int CMeasureWnd::createView(PlotMode mode) {
    view = std::make_unique<CMeasureView>();
    view->plot_mode = mode;
    if (view->Create(0, 0, hwnd->width(), hwnd->height(), hwnd, 0)) {
        view.reset();
        return -1;
    }
    return 0;
}

void CMeasureWnd::OnDestroy() {
    release();
}

void CMeasureWnd::release() {
    view.reset();
    measure.reset();
}

void CMeasureWnd::OnSize(int, int width, int height) {
    if (view && view->hwnd) {
        view->hwnd->setGeometry(0, 0, width, height);
        view->hwnd->update();
    }
}

intptr_t CMeasureWnd::OnMDIActivate(bool active) {
    if (!active) return 0;
    setStatusText(STATUS_PART_CURSOR, QString::fromLatin1(STATUS_CURSOR_IDLE));
    if (view && measure)
        view->ShowBlockInfo();
    else
        setStatusText(STATUS_PART_BLOCK, QString::fromLatin1(STATUS_BLOCK_IDLE));
    return 0;
}

void CMeasureWnd::AttachRead(OwnedMeasure m, const ChannelExtremes& seen) {
    readExtremes_ = &seen;
    Attach(std::move(m));
    readExtremes_ = nullptr;
}

void CMeasureWnd::Attach(OwnedMeasure m) {
    measure = std::move(m);
    if (view) view->SetMeasure(measure.get(), readExtremes_);
    setTitle(measure ? QString::fromStdString(displayText(measure->path)) : QString());
    showStatusIfActive();
}

void CMeasureWnd::showStatusIfActive() {
    // A window becomes active before it has a measurement to speak of.
    QMdiSubWindow* frame = subWindow();
    if (frame && frame->mdiArea() && frame->mdiArea()->currentSubWindow() == frame)
        OnMDIActivate(true);
}

void CMeasureWnd::measureSaved() {
    setModified(false);
    // The file now holds the erased rows: taking the erase back changes it.
    modifiedBeforeErase_ = true;
    OnSaved();
}

int CMeasureWnd::OnClose() {
    return mayDiscardChanges(*this) ? 1 : 0;
}

void CMeasureWnd::OnSaved() {
    if (measure) setTitle(QString::fromStdString(displayText(measure->path)));
}

bool CMeasureWnd::paintPicture(QPainter&, QSize, PlotTextLog*) const {
    return false;
}

QSize CMeasureWnd::pictureSize() const {
    return view ? QSize(view->client_width, view->client_height) : QSize();
}

BlockRange CMeasureWnd::viewBlock() const {
    BlockRange block{0, 0, 0};
    if (view) view->OnCommand(CMD_GET_BLOCK, reinterpret_cast<intptr_t>(&block));
    return block;
}

bool CMeasureWnd::blockEmpty() const {
    BlockRange block = viewBlock();
    return block.from == block.to;
}

intptr_t CMeasureWnd::OnCommand(int id, intptr_t param) {
    if (isViewCommand(id)) return view ? view->OnCommand(id, param) : 0;
    switch (id) {
    case CMD_UNDO:
        OnUndo();
        break;
    case CMD_GET_UNDO:
        if (param) *reinterpret_cast<int32_t*>(param) = undo_.available() ? 1 : 0;
        break;
    case CMD_RECALCULATE:
    case CMD_ADD_SAMPLE:
    case CMD_SUB_SAMPLE:
        // Nothing more for a plain measurement; a result window computes its
        // rows anew, and the erased ones are gone.
        undo_.clear();
        break;
    case CMD_BLOCK_INFO:
        OnBlockInfo();
        break;
    case CMD_VIEW_INFO:
        OnChannelInfo();
        break;
    case CMD_BLOCK_ERASE:
        OnBlockErase();
        break;
    case CMD_BLOCK_SET:
        OnBlockSet();
        break;
    case CMD_GET_MEASURE:
        if (param) *reinterpret_cast<CMeasure**>(param) = measure.get();
        break;
    default:
        break;
    }
    return 0;
}

void CMeasureWnd::OnBlockInfo() {
    BlockRange block = viewBlock();
    if (block.from == block.to) return;
    showSignalParameters(block);
}

void CMeasureWnd::OnChannelInfo() {
    // A popup opened below the last channel names no channel.
    if (!measure || !view || !measure->hasChannel(view->cursor_channel)) return;
    showSignalParameters({view->cursor_channel, 0, measure->sampleCount});
}

void CMeasureWnd::showSignalParameters(const BlockRange& block) {
    if (!measure || !measure->hasChannel(block.channel)) return;
    // The block fields go back to a record nobody reads afterwards.
    BlockRange edited = block;
    CParametrySygnaluDlg dialog(&measure->signalParameters[block.channel], block, &edited,
                                measure->sampleCount);
    showDialog(dialog, hwnd, DIALOG_SIGNAL_PARAMETERS);
}

void CMeasureWnd::OnBlockErase() {
    BlockRange block = viewBlock();
    if (!measure || block.from == block.to) return;
    const bool wasModified = isModified();
    if (!undo_.erase(*measure, block)) return;
    modifiedBeforeErase_ = wasModified;
    setModified(true);
    view->Refresh();
}

void CMeasureWnd::OnUndo() {
    if (!measure || !undo_.undo(*measure)) return;
    setModified(modifiedBeforeErase_);
    view->Refresh();
}

void CMeasureWnd::OnBlockSet() {
    BlockRange block = viewBlock();
    CBlockDlg dialog(&block, measure.get());
    showDialog(dialog, hwnd, DIALOG_SET_BLOCK);
    // OK or Cancel, the view shows the block again (Cancel: the old one). A
    // channel outside the measurement keeps the old block; bounds are clamped.
    BlockRange shown = viewBlock();
    fitBlock(measure.get(), block, shown);
    view->SetBlock(shown.channel, shown.from, shown.to);
}

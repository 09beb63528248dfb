// The MDI child that shows one measurement through its plotting view, routes
// the frame's commands to the view or to its own handlers, and answers the
// frame's queries. The result windows derive from it.
#pragma once

#include <QSize>

#include <memory>

#include "measure/channel_extremes.h"
#include "measure/measure.h"
#include "measure/owned_measure.h"
#include "shell/ui/mdi_child_wnd.h"
#include "view/erase_undo.h"
#include "view/plot_mode.h"
#include "view/ui/plot_text_log.h"

class CMeasureView;
class QPainter;

class CMeasureWnd : public CMDIChildWnd {
  public:
    CMeasureWnd();
    // Releases the view, then the measurement (a window never created holds one too).
    ~CMeasureWnd() override;

    // A child of class "KelvoMeasureClass" titled "Measure Data" in the
    // frame's MDI area (`parent`). Returns true when it failed.
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;
    // Creates the view over the client area, plotting the signal.
    int OnCreate(void* createData) override;
    // Releases the view, then the measurement.
    void OnDestroy() override;
    // A modified window asks whether to save its measurement first; it stays
    // open (0) on Cancel or when the save did not happen.
    int OnClose() override;
    void OnSize(int sizeType, int width, int height) override;
    // Becoming active, the window shows its own block in the status bar and
    // clears the readout the previous window left.
    intptr_t OnMDIActivate(bool active) override;
    intptr_t OnCommand(int id, intptr_t param) override;
    // Slot 23: shows `m`, which the window owns from now on, and takes its
    // path as the title.
    virtual void Attach(OwnedMeasure m);
    // Attach, the view taking the extremes its plots are scaled by from
    // `seen`, gathered while `m` was read, rather than from a pass of its own.
    void AttachRead(OwnedMeasure m, const ChannelExtremes& seen);

    // After a Save as wrote the measurement to its new `path`: the window is
    // no longer modified; then OnSaved.
    void measureSaved();
    // Titles the window after its new path.
    virtual void OnSaved();
    // File -> Export's picture at `size`, painted by a window that shows more
    // than its view (a result's plots); false for the view's own picture.
    virtual bool paintPicture(QPainter& painter, QSize size, PlotTextLog* log) const;
    // The picture's size as the window shows it, which File -> Export proposes.
    virtual QSize pictureSize() const;

    std::unique_ptr<CMeasureView> view;
    OwnedMeasure measure;

  protected:
    // Set for the time of AttachRead only.
    const ChannelExtremes* readExtremes_ = nullptr;

    // The status bar shows this window's block when it is the active one.
    void showStatusIfActive();
    // Creates the view with the window's initial plot mode; for OnCreate.
    int createView(PlotMode mode);
    // The view lets go of the measurement before the measurement goes.
    void release();
    BlockRange viewBlock() const;
    bool blockEmpty() const;

    // "&Block info...": the signal parameters of the block's channel.
    void OnBlockInfo();
    // Popup "&Info": the signal parameters of the popup's channel, over all samples.
    void OnChannelInfo();
    void showSignalParameters(const BlockRange& block);
    void OnBlockErase();
    void OnBlockSet();
    void OnUndo();

  private:
    EraseUndo undo_;
    // What undoing the erase makes of the window's modified state.
    bool modifiedBeforeErase_ = false;
};

// Creates `window` in the frame's MDI area (maximised on request) and
// attaches `measure` to it. Null when no window could be made; the window
// object and the measurement are released then.
class CMainFrame;
// `seen`: the measurement's extremes gathered while it was read, if any.
CMeasureWnd* showInNewWindow(CMainFrame& frame, CMeasureWnd* window, OwnedMeasure measure,
                             bool maximized = false, const ChannelExtremes* seen = nullptr);

// The block `wanted` fitted to `measure`: false (and `block` unchanged) for a
// channel outside 0 .. C - 1; otherwise the bounds clamped into 0 .. N.
bool fitBlock(const CMeasure* measure, const BlockRange& wanted, BlockRange& block);

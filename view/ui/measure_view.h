// The plotting view inside every measure and result window: all channels of
// one measurement as a vertical stack of strips, with zoom, scrolling, block
// selection by mouse, the pointer and block readouts in the status bar and
// the signal popup menu.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointer>

#include <cstdint>

#include "shell/ui/wnd.h"
#include "view/view_state.h"

class QScrollBar;

class CMeasureView : public CWnd, public MeasureViewState {
  public:
    CMeasureView();
    ~CMeasureView() override;

    // A child of class "KelvoDisplayClass" with an empty title. Returns true
    // when it failed.
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;
    // Creates both scroll bars hidden and disabled.
    int OnCreate(void* createData) override;
    void OnSize(int sizeType, int width, int height) override;
    void OnPaint(QPainter& dc) override;
    // The view's commands (zoom, range, block, plot mode, copy, add) and the
    // block and plot-mode queries; answers 0.
    intptr_t OnCommand(int id, intptr_t param) override;
    void OnVScroll(int code, int position, QScrollBar* bar) override;
    void OnHScroll(int code, int position, QScrollBar* bar) override;
    void OnMouseMove(int keyFlags, int x, int y) override;
    void OnLButtonDown(int keyFlags, int x, int y) override;
    void OnLButtonUp(int keyFlags, int x, int y) override;
    void OnRButtonDown(int keyFlags, int x, int y) override;
    // Wheel: scrolls in time; with Ctrl zooms around the pointer, with Shift
    // scrolls the channels.
    void OnMouseWheel(int keyFlags, int delta, bool horizontal, int x, int y) override;
    void OnMouseLeave() override;
    // Arrows, Page Up/Down, Home and End scroll.
    bool OnKeyDown(int key, int modifiers) override;

    // Shows `m` (not owned): rescans it (taking its extremes from `known`
    // where given), shows the scroll bars, lays out and repaints.
    void SetMeasure(CMeasure* m, const ChannelExtremes* known = nullptr);
    // After the measurement changed: rescan, lay out, repaint. Expands
    // collapsed strips again.
    void Refresh();
    // Sets the block (refused for a channel outside the measurement, bounds
    // clamped), shows its information and repaints.
    void SetBlock(int32_t channel, int32_t from, int32_t to);

    // Reads the client size, lays out and sets both scroll bars.
    using MeasureViewState::Layout;
    virtual void Layout();
    // Writes the block information into status part 2.
    virtual void ShowBlockInfo();
    virtual ValuePoint ValueAt(int32_t x, int32_t y, int32_t c) const;
    // Each changes its value by one step (+1 or -1) and, if it changed, lays
    // out and repaints.
    virtual void YRange(int32_t direction);
    virtual void ZoomX(int32_t direction);
    virtual void ZoomY(int32_t direction);

    // Draws in `mode` from now on (lays out and repaints).
    void setPlotMode(PlotMode mode);

    QScrollBar* horizontalBar() const { return horizontalBar_; }
    QScrollBar* verticalBar() const { return verticalBar_; }

    // The widget that held the mouse capture before a new block took it.
    QPointer<QWidget> prev_capture;

  private:
    // The plot changed: paint it anew at the next paint.
    void repaint();
    // Only the pointer readout changed: the plot painted last stays.
    void repaintPointer();
    void paintPointerReadout(QPainter& dc);
    void writePointerStatus(int32_t channel, const ValuePoint& value);
    void showPointerStatus();
    void scrollBy(int64_t dx, int64_t dy);
    void scrollTo(QScrollBar* bar, const ScrollRange& range, int32_t& position, int code,
                  int trackPosition);
    void placeScrollBars(int width, int height);
    void updateScrollBar(QScrollBar* bar, const ScrollRange& range, int32_t position);

    QScrollBar* horizontalBar_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
    QImage plot_;           // the plot as last painted
    bool plotStale_ = true; // the state changed since
    bool pointerInside_ = false;
    QPoint pointer_;
};

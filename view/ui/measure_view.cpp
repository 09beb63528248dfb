#include "view/ui/measure_view.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

#include "measure/text_encoding.h"
#include "shell/ui/frame_services.h"
#include "shell/view_commands.h"
#include "shell/window_classes.h"
#include "view/pointer_readout.h"
#include "view/status_text.h"
#include "view/ui/plot_painter.h"

CMeasureView::CMeasureView() = default;

CMeasureView::~CMeasureView() = default;

bool CMeasureView::Create(int x, int y, int width, int height, QWidget* parent, int) {
    if (createWindow(DISPLAY_CLASS, parent, x, y, width, height)) return true;
    hwnd->setWindowTitle(QString());
    hwnd->setCursor(Qt::CrossCursor);
    // Clicks and Tab give it the keys that scroll it.
    hwnd->setFocusPolicy(Qt::StrongFocus);
    hwnd->show();
    return false;
}

int CMeasureView::OnCreate(void*) {
    horizontalBar_ = new QScrollBar(Qt::Horizontal, hwnd);
    verticalBar_ = new QScrollBar(Qt::Vertical, hwnd);
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) {
        bar->setEnabled(false);
        bar->hide();
    }
    attachScrollBar(horizontalBar_, false);
    attachScrollBar(verticalBar_, true);
    return 0;
}

void CMeasureView::OnSize(int, int, int) {
    Layout();
    repaint();
}

void CMeasureView::repaint() {
    plotStale_ = true;
    if (hwnd) hwnd->update();
}

void CMeasureView::repaintPointer() {
    if (hwnd) hwnd->update();
}

void CMeasureView::SetMeasure(CMeasure* m, const ChannelExtremes* known) {
    measure = m;
    Rescan(known);
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) {
        if (!bar) continue;
        bar->setEnabled(true);
        bar->show();
    }
    Layout();
    repaint();
}

void CMeasureView::Refresh() {
    Rescan();
    Layout();
    repaint();
}

void CMeasureView::SetBlock(int32_t channel, int32_t from, int32_t to) {
    MeasureViewState::SetBlock(channel, from, to);
    ShowBlockInfo();
    repaint();
}

// The scroll bars sit inside the widget along its right and bottom edges;
// the client is what they leave.
void CMeasureView::placeScrollBars(int width, int height) {
    int extent = hwnd->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, hwnd);
    bool shown = horizontalBar_ && !horizontalBar_->isHidden();
    int clientWidth = shown ? width - extent : width;
    int clientHeight = shown ? height - extent : height;
    if (shown) {
        horizontalBar_->setGeometry(0, clientHeight, clientWidth > 0 ? clientWidth : 0, extent);
        verticalBar_->setGeometry(clientWidth, 0, extent, clientHeight > 0 ? clientHeight : 0);
    }
    MeasureViewState::Layout(clientWidth, clientHeight);
}

void CMeasureView::updateScrollBar(QScrollBar* bar, const ScrollRange& range, int32_t position) {
    if (!bar) return;
    bar->setRange(range.minimum, range.lastPosition());
    bar->setPageStep(range.page);
    bar->setSingleStep(bar == horizontalBar_ ? timeStep() : channelStep());
    bar->setValue(position);
}

void CMeasureView::Layout() {
    if (!hwnd) return;
    plotStale_ = true;
    placeScrollBars(hwnd->width(), hwnd->height());
    updateScrollBar(horizontalBar_, horizontalScroll(), scroll_x);
    updateScrollBar(verticalBar_, verticalScroll(), scroll_y);
}

void CMeasureView::OnPaint(QPainter& dc) {
    if (plotStale_ || plot_.size() != QSize(client_width, client_height)) {
        plot_ = QImage(std::max(client_width, 1), std::max(client_height, 1), QImage::Format_RGB32);
        QPainter painter(&plot_);
        PlotPainter(*this).paint(painter);
        plotStale_ = false;
    }
    dc.drawImage(0, 0, plot_);
    paintPointerReadout(dc);
    // The corner between the two scroll bars.
    if (hwnd && horizontalBar_ && !horizontalBar_->isHidden())
        dc.fillRect(client_width, client_height, hwnd->width() - client_width,
                    hwnd->height() - client_height, hwnd->palette().window());
}

void CMeasureView::ShowBlockInfo() {
    if (!measure) return;
    setStatusText(STATUS_PART_BLOCK,
                  QString::fromStdString(BlockInfoText(block, measure->sampleRate)));
}

ValuePoint CMeasureView::ValueAt(int32_t x, int32_t y, int32_t c) const {
    return MeasureViewState::ValueAt(x, y, c);
}

void CMeasureView::YRange(int32_t direction) {
    if (!MeasureViewState::YRange(direction)) return;
    Layout();
    repaint();
    showPointerStatus();
}

void CMeasureView::ZoomX(int32_t direction) {
    int32_t pixel = 0;
    double anchor = ZoomAnchor(pixel);
    if (!ZoomXAround(direction, anchor, pixel)) return;
    Layout();
    repaint();
    showPointerStatus();
}

void CMeasureView::ZoomY(int32_t direction) {
    if (!MeasureViewState::ZoomY(direction)) return;
    Layout();
    repaint();
    showPointerStatus();
}

void CMeasureView::setPlotMode(PlotMode mode) {
    plot_mode = mode;
    Layout();
    repaint();
    showPointerStatus();
}

intptr_t CMeasureView::OnCommand(int id, intptr_t param) {
    const int command = id & 0xFFFF;
    switch (command) {
    case CMD_VIEW_ADD:
        if (measure && measure->hasChannel(cursor_channel))
            measure->AddComponent(cursor_channel, cursor_sample);
        break;
    case CMD_VIEW_COPY:
        if (measure && block.from != block.to && measure->hasChannel(block.channel))
            measure->CopyBlock(block.channel, block.from, block.to);
        break;
    case CMD_Y_RANGE_IN:
        YRange(+1);
        break;
    case CMD_Y_RANGE_OUT:
        YRange(-1);
        break;
    case CMD_ZOOM_X_IN:
        ZoomX(+1);
        break;
    case CMD_ZOOM_X_OUT:
        ZoomX(-1);
        break;
    case CMD_ZOOM_Y_IN:
        ZoomY(+1);
        break;
    case CMD_ZOOM_Y_OUT:
        ZoomY(-1);
        break;
    case CMD_BEGIN_BLOCK:
    case CMD_END_BLOCK:
    case CMD_SELECT_ALL: {
        bool done = command == CMD_BEGIN_BLOCK ? BeginBlock()
                    : command == CMD_END_BLOCK ? EndBlock()
                                               : SelectAll();
        if (done) {
            ShowBlockInfo();
            repaint();
        }
        break;
    }
    case CMD_PLOT_SIGNAL:
        setPlotMode(PLOT_SIGNAL);
        break;
    case CMD_PLOT_ENVELOPE:
        setPlotMode(PLOT_SIGNAL | PLOT_ENVELOPE);
        break;
    case CMD_PLOT_COSIGNAL:
        setPlotMode(PLOT_SIGNAL | PLOT_COSIGNAL);
        break;
    case CMD_PLOT_ALL:
        setPlotMode(PLOT_SIGNAL | PLOT_COSIGNAL | PLOT_ENVELOPE);
        break;
    case CMD_PLOT_MODULE:
        setPlotMode(PLOT_MODULE);
        break;
    case CMD_GET_BLOCK:
        if (param) *reinterpret_cast<BlockRange*>(param) = block;
        break;
    case CMD_GET_PLOT_MODE:
        if (param) *reinterpret_cast<int32_t*>(param) = plot_mode;
        break;
    case CMD_GET_PLOT_COMMAND:
        if (param) *reinterpret_cast<int32_t*>(param) = plotCommandForMode(plot_mode);
        break;
    default:
        break;
    }
    return CWnd::OnCommand(id, param);
}

// Scrolling is in pixels: a line is a tenth of the view in time or one
// channel strip, a page the page size.
void CMeasureView::scrollTo(QScrollBar* bar, const ScrollRange& range, int32_t& position, int code,
                            int trackPosition) {
    int64_t wanted = position;
    const int32_t line = bar == horizontalBar_ ? timeStep() : channelStep();
    switch (code) {
    case SB_LINEUP:
        wanted -= line;
        break;
    case SB_LINEDOWN:
        wanted += line;
        break;
    case SB_PAGEUP:
        wanted -= range.page;
        break;
    case SB_PAGEDOWN:
        wanted += range.page;
        break;
    case SB_THUMBTRACK:
        wanted = trackPosition;
        break;
    case SB_TOP:
        wanted = range.minimum;
        break;
    case SB_BOTTOM:
        wanted = range.maximum;
        break;
    default:
        return;
    }
    position = range.clamp(wanted);
    if (bar) bar->setSliderPosition(position);
    repaint();
    showPointerStatus();
}

void CMeasureView::OnVScroll(int code, int position, QScrollBar*) {
    scrollTo(verticalBar_, verticalScroll(), scroll_y, code, position);
}

void CMeasureView::OnHScroll(int code, int position, QScrollBar*) {
    scrollTo(horizontalBar_, horizontalScroll(), scroll_x, code, position);
}

void CMeasureView::OnMouseMove(int, int x, int y) {
    if (!measure || !hwnd) return;
    PointerInfo info = PointerMoved(x + scroll_x, y + scroll_y);
    if (info.dragged) {
        ShowBlockInfo();
        repaint();
    }
    pointerInside_ = x >= 0 && y >= 0 && x < client_width && y < client_height;
    pointer_ = QPoint(x, y);
    repaintPointer();
    if (info.readout) writePointerStatus(info.channel, info.value);
    hwnd->setCursor(info.arrowCursor    ? Qt::ArrowCursor
                    : info.resizeCursor ? Qt::SizeHorCursor
                                        : Qt::CrossCursor);
}

void CMeasureView::writePointerStatus(int32_t channel, const ValuePoint& value) {
    setStatusText(STATUS_PART_CURSOR,
                  QString::fromStdString(PointerReadoutText(
                      channel, value, x_unit, displayText(valueUnit(channel)).c_str())));
}

// The plot moved under a pointer that stood still: what lies under it now.
void CMeasureView::showPointerStatus() {
    if (!pointerInside_ || !measure) return;
    ChannelHit hit = ChannelAt(pointer_.y() + scroll_y);
    if (hit.header || hit.channel < 0) return;
    writePointerStatus(hit.channel, ValueAt(pointer_.x() + scroll_x, hit.y, hit.channel));
}

void CMeasureView::OnLButtonDown(int, int x, int y) {
    if (!measure) return;
    switch (Press(x + scroll_x, y + scroll_y)) {
    case PressAction::ToggledStrip:
        Layout();
        break;
    case PressAction::NewBlock:
        prev_capture = SetCapture();
        ShowBlockInfo();
        break;
    default:
        break;
    }
    repaint();
}

void CMeasureView::OnLButtonUp(int, int, int) {
    if (!Release()) return;
    ReleaseCapture(prev_capture);
    prev_capture = nullptr;
}

void CMeasureView::OnMouseLeave() {
    if (!pointerInside_) return;
    pointerInside_ = false;
    repaintPointer();
}

void CMeasureView::scrollBy(int64_t dx, int64_t dy) {
    bool moved = ScrollXBy(dx);
    moved = ScrollYBy(dy) || moved;
    if (!moved) return;
    if (horizontalBar_) horizontalBar_->setValue(scroll_x);
    if (verticalBar_) verticalBar_->setValue(scroll_y);
    repaint();
    showPointerStatus();
}

void CMeasureView::OnMouseWheel(int keyFlags, int delta, bool horizontal, int x, int) {
    if (!measure || delta == 0) return;
    const double notches = delta / 120.0;
    if (keyFlags & MK_CONTROL) {
        // Zooms in towards the pointer; the sample under it stays under it.
        if (!(pixels_per_sample > 0.0)) return;
        double anchor = (scroll_x + x) / pixels_per_sample;
        if (ZoomXAround(delta > 0 ? +1 : -1, anchor, x)) {
            Layout();
            repaint();
            showPointerStatus();
        }
    } else if (keyFlags & MK_SHIFT) {
        scrollBy(0, -int64_t(std::lround(notches * channelStep())));
    } else {
        // Rolling the wheel towards the user moves on in time.
        int64_t step = int64_t(std::lround(notches * timeStep()));
        scrollBy(horizontal ? step : -step, 0);
    }
}

bool CMeasureView::OnKeyDown(int key, int) {
    if (!measure) return false;
    switch (key) {
    case Qt::Key_Left:
        scrollBy(-timeStep(), 0);
        return true;
    case Qt::Key_Right:
        scrollBy(timeStep(), 0);
        return true;
    case Qt::Key_PageUp:
        scrollBy(-int64_t(client_width), 0);
        return true;
    case Qt::Key_PageDown:
        scrollBy(client_width, 0);
        return true;
    case Qt::Key_Up:
        scrollBy(0, -channelStep());
        return true;
    case Qt::Key_Down:
        scrollBy(0, channelStep());
        return true;
    case Qt::Key_Home:
        scrollBy(-int64_t(scroll_x), 0);
        return true;
    case Qt::Key_End:
        scrollBy(int64_t(contentWidth()) - scroll_x, 0);
        return true;
    default:
        return false;
    }
}

// A thin line across every strip at the pointer, and beside it the time and
// each shown channel's value there.
void CMeasureView::paintPointerReadout(QPainter& dc) {
    if (!pointerInside_ || !measure || drag) return;
    std::vector<std::string> lines = PointerReadoutLines(*this, scroll_x + pointer_.x());
    if (lines.empty()) return;
    dc.setPen(QPen(QColor(0, 90, 200, 160), 1));
    dc.drawLine(pointer_.x(), 0, pointer_.x(), client_height);
    QFont font = dc.font();
    font.setPixelSize(12);
    dc.setFont(font);
    QFontMetrics metrics(font);
    int width = 0;
    for (const std::string& line : lines)
        width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(line)));
    int height = metrics.height() * int(lines.size()) + 6;
    int x = pointer_.x() + 12;
    if (x + width + 8 > client_width) x = pointer_.x() - 12 - width - 8;
    int y = std::min(std::max(pointer_.y() + 12, 0), std::max(client_height - height, 0));
    QRect box(x, y, width + 8, height);
    dc.fillRect(box, QColor(255, 255, 240, 230));
    dc.setPen(QColor(120, 120, 120));
    dc.drawRect(box.adjusted(0, 0, -1, -1));
    dc.setPen(Qt::black);
    for (size_t i = 0; i < lines.size(); ++i)
        dc.drawText(x + 4, y + 3 + metrics.ascent() + int(i) * metrics.height(),
                    QString::fromStdString(lines[i]));
}

void CMeasureView::OnRButtonDown(int, int x, int y) {
    if (!hwnd) return;
    SetPopupPosition(x + scroll_x, y + scroll_y);
    trackSignalPopup(hwnd, hwnd->mapToGlobal(QPoint(x, y)));
}

#include "shell/ui/wnd.h"

#include <QAbstractSlider>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "shell/ui/wnd_widget.h"

namespace {

// A command or user message queued for a window.
class MessageEvent : public QEvent {
  public:
    MessageEvent(QEvent::Type type, int message, intptr_t first, intptr_t second)
        : QEvent(type), message(message), first(first), second(second) {}
    int message;
    intptr_t first;
    intptr_t second;
};

int clampCoordinate(double v) {
    return int(std::clamp(v, -32768.0, 32767.0));
}

int keyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    int flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

} // namespace

// ---- WndWidget ----

WndWidget::WndWidget(CWnd* object, const char* windowClass, QWidget* parent)
    : QWidget(parent), object_(object) {
    setProperty(WINDOW_CLASS_PROPERTY, QString::fromLatin1(windowClass));
    setMouseTracking(true);
}

WndWidget::~WndWidget() {
    CWnd* object = object_;
    if (!object) return;
    object->OnDestroy();
    object_ = nullptr;
    object->hwnd = nullptr;
    if (object->ownedByWindow_) delete object;
}

QEvent::Type WndWidget::commandEventType() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QEvent::Type WndWidget::userMessageEventType() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

void WndWidget::setTimer(int id, int milliseconds) {
    killTimer(id);
    int qtId = startTimer(milliseconds);
    if (qtId != 0) timers_[id] = qtId;
}

void WndWidget::killTimer(int id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    QObject::killTimer(it->second);
    timers_.erase(it);
}

bool WndWidget::event(QEvent* e) {
    if (object_ && e->type() == commandEventType()) {
        auto* m = static_cast<MessageEvent*>(e);
        object_->OnCommand(m->message, m->first);
        return true;
    }
    if (object_ && e->type() == userMessageEventType()) {
        auto* m = static_cast<MessageEvent*>(e);
        object_->OnUserMessage(m->message, m->first, m->second);
        return true;
    }
    return QWidget::event(e);
}

int WndWidget::sizeType() const {
    const QWidget* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
    if (!frame && isWindow()) frame = this;
    if (frame && frame->isMinimized()) return SIZE_MINIMIZED;
    if (frame && frame->isMaximized()) return SIZE_MAXIMIZED;
    return SIZE_RESTORED;
}

void WndWidget::resizeEvent(QResizeEvent* e) {
    if (object_) object_->OnSize(sizeType(), e->size().width(), e->size().height());
}

void WndWidget::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    if (object_) object_->OnPaint(dc);
}

void WndWidget::closeEvent(QCloseEvent* e) {
    if (object_ && !object_->OnClose()) {
        e->ignore();
        return;
    }
    e->accept();
    if (object_) object_->Destroy();
}

void WndWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!object_) return;
    QPointF p = e->position();
    object_->OnMouseMove(keyFlags(e->buttons(), e->modifiers()), clampCoordinate(p.x()),
                         clampCoordinate(p.y()));
}

void WndWidget::mousePressEvent(QMouseEvent* e) {
    if (!object_) return;
    int flags = keyFlags(e->buttons(), e->modifiers());
    int x = clampCoordinate(e->position().x());
    int y = clampCoordinate(e->position().y());
    if (e->button() == Qt::LeftButton) object_->OnLButtonDown(flags, x, y);
    if (e->button() == Qt::RightButton) object_->OnRButtonDown(flags, x, y);
}

// A double click is a second press to the slots.
void WndWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    mousePressEvent(e);
}

void WndWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!object_) return;
    int flags = keyFlags(e->buttons(), e->modifiers());
    int x = clampCoordinate(e->position().x());
    int y = clampCoordinate(e->position().y());
    if (e->button() == Qt::LeftButton) object_->OnLButtonUp(flags, x, y);
    if (e->button() == Qt::RightButton) object_->OnRButtonUp(flags, x, y);
}

void WndWidget::wheelEvent(QWheelEvent* e) {
    if (!object_) return QWidget::wheelEvent(e);
    QPoint angle = e->angleDelta();
    bool horizontal = angle.y() == 0 && angle.x() != 0;
    object_->OnMouseWheel(keyFlags(e->buttons(), e->modifiers()),
                          horizontal ? angle.x() : angle.y(), horizontal,
                          clampCoordinate(e->position().x()), clampCoordinate(e->position().y()));
}

void WndWidget::leaveEvent(QEvent*) {
    if (object_) object_->OnMouseLeave();
}

void WndWidget::keyPressEvent(QKeyEvent* e) {
    if (!object_) return QWidget::keyPressEvent(e);
    int modifiers = int(e->modifiers());
    bool handled = object_->OnKeyDown(e->key(), modifiers);
    // The character follows its key, as a translated key press would.
    if (object_ && !e->text().isEmpty())
        handled = object_->OnChar(e->text().at(0).unicode(), modifiers) || handled;
    if (!handled) e->ignore();
}

void WndWidget::keyReleaseEvent(QKeyEvent* e) {
    if (!object_ || !object_->OnKeyUp(e->key(), int(e->modifiers()))) e->ignore();
}

void WndWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    if (object_) object_->OnSetFocus();
}

void WndWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    if (object_) object_->OnKillFocus();
}

void WndWidget::timerEvent(QTimerEvent* e) {
    for (const auto& [id, qtId] : timers_) {
        if (qtId == e->timerId()) {
            if (object_) object_->OnTimer(id);
            return;
        }
    }
}

// ---- CWnd ----

CWnd::~CWnd() {
    auto* widget = static_cast<WndWidget*>(hwnd);
    if (!widget) return;
    widget->detach();
    hwnd = nullptr;
    delete widget;
}

bool CWnd::createWindow(const char* windowClass, QWidget* parent, int x, int y, int width,
                        int height, void* createData) {
    auto* widget = new WndWidget(this, windowClass, parent);
    widget->setGeometry(x, y, width, height);
    hwnd = widget;
    if (OnCreate(createData) == -1) {
        widget->detach();
        hwnd = nullptr;
        delete widget;
        return true;
    }
    return false;
}

void CWnd::Destroy() {
    auto* widget = static_cast<WndWidget*>(hwnd);
    if (!widget) return;
    OnDestroy();
    widget->detach();
    hwnd = nullptr;
    // Later: Destroy may run inside one of the widget's own event handlers.
    widget->hide();
    widget->deleteLater();
    if (ownedByWindow_) delete this;
}

int CWnd::OnCreate(void*) {
    return 0;
}
void CWnd::OnSize(int, int, int) {}
void CWnd::OnPaint(QPainter&) {}
intptr_t CWnd::OnCommand(int, intptr_t) {
    return 0;
}
intptr_t CWnd::OnUserMessage(int, intptr_t, intptr_t) {
    return 0;
}
void CWnd::OnVScroll(int, int, QScrollBar*) {}
void CWnd::OnHScroll(int, int, QScrollBar*) {}
void CWnd::OnTimer(int) {}
bool CWnd::OnChar(int, int) {
    return false;
}
bool CWnd::OnKeyDown(int, int) {
    return false;
}
bool CWnd::OnKeyUp(int, int) {
    return false;
}
void CWnd::OnSetFocus() {}
void CWnd::OnKillFocus() {}
void CWnd::OnMouseMove(int, int, int) {}
void CWnd::OnLButtonDown(int, int, int) {}
void CWnd::OnLButtonUp(int, int, int) {}
void CWnd::OnRButtonDown(int, int, int) {}
void CWnd::OnRButtonUp(int, int, int) {}
void CWnd::OnMouseWheel(int, int, bool, int, int) {}
void CWnd::OnMouseLeave() {}

CWnd* CWnd::fromWidget(const QWidget* widget) {
    auto* w = dynamic_cast<const WndWidget*>(widget);
    return w ? w->object() : nullptr;
}

QString CWnd::windowClass() const {
    return hwnd ? hwnd->property(WINDOW_CLASS_PROPERTY).toString() : QString();
}

void CWnd::SetTimer(int id, int milliseconds) {
    if (hwnd) static_cast<WndWidget*>(hwnd)->setTimer(id, milliseconds);
}

void CWnd::KillTimer(int id) {
    if (hwnd) static_cast<WndWidget*>(hwnd)->killTimer(id);
}

QWidget* CWnd::SetCapture() {
    QWidget* previous = QWidget::mouseGrabber();
    if (hwnd && previous != hwnd) hwnd->grabMouse();
    return previous == hwnd ? nullptr : previous;
}

void CWnd::ReleaseCapture(QWidget* previous) {
    if (hwnd && QWidget::mouseGrabber() == hwnd) hwnd->releaseMouse();
    if (previous) previous->grabMouse();
}

void CWnd::attachScrollBar(QScrollBar* bar, bool vertical) {
    if (!hwnd || !bar) return;
    auto forward = [this, bar, vertical](int code) {
        if (vertical)
            OnVScroll(code, bar->sliderPosition(), bar);
        else
            OnHScroll(code, bar->sliderPosition(), bar);
    };
    QObject::connect(bar, &QAbstractSlider::actionTriggered, hwnd, [forward](int action) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return forward(SB_LINEUP);
        case QAbstractSlider::SliderSingleStepAdd:
            return forward(SB_LINEDOWN);
        case QAbstractSlider::SliderPageStepSub:
            return forward(SB_PAGEUP);
        case QAbstractSlider::SliderPageStepAdd:
            return forward(SB_PAGEDOWN);
        case QAbstractSlider::SliderToMinimum:
            return forward(SB_TOP);
        case QAbstractSlider::SliderToMaximum:
            return forward(SB_BOTTOM);
        case QAbstractSlider::SliderMove:
            return forward(SB_THUMBTRACK);
        default:
            return;
        }
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, hwnd, [forward] {
        forward(SB_THUMBPOSITION);
        forward(SB_ENDSCROLL);
    });
}

intptr_t sendCommand(QWidget* hwnd, int id, intptr_t param) {
    CWnd* object = CWnd::fromWidget(hwnd);
    return object ? object->OnCommand(id, param) : 0;
}

void postCommand(QWidget* hwnd, int id, intptr_t param) {
    if (!hwnd) return;
    QCoreApplication::postEvent(hwnd,
                                new MessageEvent(WndWidget::commandEventType(), id, param, 0));
}

void postUserMessage(QWidget* hwnd, int message, intptr_t first, intptr_t second) {
    if (!hwnd) return;
    QCoreApplication::postEvent(
        hwnd, new MessageEvent(WndWidget::userMessageEventType(), message, first, second));
}

#include "shell/ui/mdi_child_wnd.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "shell/ui/program_icons.h"
#include "shell/ui/wnd_widget.h"
#include "shell/window_classes.h"

namespace {

// The sub-window, deleted once closed. Closing it closes its widget first,
// which asks the child object (OnClose) once and may refuse.
class MdiChildFrame : public QMdiSubWindow {
  public:
    MdiChildFrame() { setAttribute(Qt::WA_DeleteOnClose); }
};

// The sub-window's own menu closes it with Ctrl+W as well as Ctrl+F4; Ctrl+W
// is the frame's "Zoom X in", and two owners of one key leave it to neither.
void keepFrameKeys(QMdiSubWindow* frame) {
    const QKeySequence zoomKey(Qt::CTRL | Qt::Key_W);
    if (QMenu* menu = frame->systemMenu()) {
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(zoomKey) > 0) action->setShortcuts(keys);
        }
    }
}

constexpr int CASCADE_STEP = 28;

// Whether a shown window other than `newcomer` has its corner at `at`.
bool cornerTaken(QMdiArea* area, QMdiSubWindow* newcomer, QPoint at) {
    for (QMdiSubWindow* other : area->subWindowList())
        if (other != newcomer && other->isVisible() && !other->isMaximized() && other->pos() == at)
            return true;
    return false;
}

// The first window takes the whole workspace; later ones most of it, each a
// step right and down from the active one and from every window already
// there (two results of one measurement would hide each other), wrapping
// back to the corner so that a new window always opens inside the workspace.
QRect defaultChildPlace(QMdiArea* area, QMdiSubWindow* newcomer) {
    QSize space = area->viewport()->size().expandedTo(QSize(200, 150));
    QMdiSubWindow* active = area->activeSubWindow();
    bool alone = true;
    for (QMdiSubWindow* other : area->subWindowList())
        if (other != newcomer && other->isVisible()) alone = false;
    if (alone || !active || active == newcomer) return QRect(QPoint(0, 0), space);
    QSize size = space * 17 / 20;
    QPoint at = active->isMaximized() ? QPoint(0, 0) : active->pos();
    for (qsizetype tries = area->subWindowList().size(); tries >= 0; --tries) {
        at += QPoint(CASCADE_STEP, CASCADE_STEP);
        if (at.x() + size.width() > space.width() || at.y() + size.height() > space.height())
            at = QPoint(0, 0);
        if (!cornerTaken(area, newcomer, at)) break;
    }
    return QRect(at, size);
}

// `wanted` for `window`, numbered " (2)", " (3)", ... when another window of
// the area has that title already. A window keeps the number it has. Titles
// compare without the asterisk of unsaved changes.
QString distinctTitle(const CMDIChildWnd& window, const QMdiSubWindow* frame,
                      const QString& wanted) {
    QStringList others;
    if (QMdiArea* area = frame->mdiArea())
        for (QMdiSubWindow* other : area->subWindowList()) {
            if (other == frame) continue;
            const CMDIChildWnd* child = CMDIChildWnd::fromSubWindow(other);
            others << (child ? child->plainTitle() : other->windowTitle());
        }
    const QString current = window.plainTitle();
    const QString prefix = wanted + QStringLiteral(" (");
    bool ownNumber = current.startsWith(prefix) && current.endsWith(QLatin1Char(')'));
    if (ownNumber) current.mid(prefix.size(), current.size() - prefix.size() - 1).toInt(&ownNumber);
    if ((current == wanted || ownNumber) && !others.contains(current)) return current;
    QString title = wanted;
    for (int n = 2; others.contains(title); ++n)
        title = wanted + QStringLiteral(" (%1)").arg(n);
    return title;
}

} // namespace

CMDIChildWnd::CMDIChildWnd() {
    deleteWithWindow();
}

bool CMDIChildWnd::createChild(const char* windowClass, const QString& title, QWidget* mdiArea,
                               int x, int y, int width, int height, int style) {
    auto* area = qobject_cast<QMdiArea*>(mdiArea);
    if (!area) return true;
    auto* frame = new MdiChildFrame;
    auto* widget = new WndWidget(this, windowClass, nullptr);
    frame->setWidget(widget);
    keepFrameKeys(frame);
    frame->setProperty(WINDOW_CLASS_PROPERTY, QString::fromLatin1(windowClass));
    title_ = title;
    frame->setWindowTitle(title);
    if (const WindowClass* cls = findWindowClass(windowClass); cls && cls->iconId)
        frame->setWindowIcon(programIcon(cls->iconId));
    QRect place = defaultChildPlace(area, frame);
    area->addSubWindow(frame);
    if (width != CW_USEDEFAULT && height != CW_USEDEFAULT) place.setSize(QSize(width, height));
    if (x != CW_USEDEFAULT && y != CW_USEDEFAULT) place.moveTopLeft(QPoint(x, y));
    frame->setGeometry(place);
    hwnd = widget;
    QObject::connect(frame, &QMdiSubWindow::windowStateChanged, widget,
                     [this](Qt::WindowStates before, Qt::WindowStates now) {
                         if ((before ^ now) & Qt::WindowActive)
                             OnMDIActivate(bool(now & Qt::WindowActive));
                     });
    if (OnCreate(nullptr) == -1) {
        widget->detach();
        hwnd = nullptr;
        area->removeSubWindow(frame);
        delete frame;
        return true;
    }
    if (style & WS_MAXIMIZE)
        frame->showMaximized();
    else
        frame->show();
    area->setActiveSubWindow(frame);
    return false;
}

void CMDIChildWnd::Destroy() {
    auto* widget = static_cast<WndWidget*>(hwnd);
    if (!widget) return;
    QMdiSubWindow* frame = subWindow();
    OnDestroy();
    widget->detach();
    hwnd = nullptr;
    if (frame) {
        if (QMdiArea* area = frame->mdiArea()) area->removeSubWindow(frame);
        frame->hide();
        frame->deleteLater();
    } else {
        widget->deleteLater();
    }
    delete this;
}

bool CMDIChildWnd::OnChar(int, int) {
    return false;
}
bool CMDIChildWnd::OnKeyDown(int, int) {
    return false;
}
bool CMDIChildWnd::OnKeyUp(int, int) {
    return false;
}
intptr_t CMDIChildWnd::OnMDIActivate(bool) {
    return 0;
}

QMdiSubWindow* CMDIChildWnd::subWindow() const {
    return hwnd ? qobject_cast<QMdiSubWindow*>(hwnd->parentWidget()) : nullptr;
}

void CMDIChildWnd::setTitle(const QString& title) {
    QMdiSubWindow* frame = subWindow();
    title_ = frame ? distinctTitle(*this, frame, title) : title;
    showTitle();
}

void CMDIChildWnd::setModified(bool modified) {
    modified_ = modified;
    ++revision_;
    showTitle();
}

// The frame's title is what the title bar and the Window menu's list show.
void CMDIChildWnd::showTitle() {
    if (QMdiSubWindow* frame = subWindow())
        frame->setWindowTitle(modified_ ? title_ + QLatin1Char('*') : title_);
}

QString CMDIChildWnd::title() const {
    QMdiSubWindow* frame = subWindow();
    return frame ? frame->windowTitle() : QString();
}

CMDIChildWnd* CMDIChildWnd::fromSubWindow(const QMdiSubWindow* window) {
    return window ? dynamic_cast<CMDIChildWnd*>(CWnd::fromWidget(window->widget())) : nullptr;
}

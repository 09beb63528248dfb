// The window object layer: a CWnd owns one widget (`hwnd`) and receives that
// widget's events through virtual operations, so views and child windows are
// written as message handlers rather than as QWidget subclasses.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>

class QPainter;
class QScrollBar;

// Size types passed to OnSize.
constexpr int SIZE_RESTORED = 0;
constexpr int SIZE_MINIMIZED = 1;
constexpr int SIZE_MAXIMIZED = 2;

// Key flags passed to the mouse operations.
constexpr int MK_LBUTTON = 0x0001;
constexpr int MK_RBUTTON = 0x0002;
constexpr int MK_SHIFT = 0x0004;
constexpr int MK_CONTROL = 0x0008;
constexpr int MK_MBUTTON = 0x0010;

// Scroll codes passed to OnVScroll and OnHScroll.
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;

// Messages above this number go to OnUserMessage.
constexpr int WM_USER = 1024;

// The property of every window of ours that names its window class
// ("KelvoDisplayClass", "KelvoMeasureClass", ...).
constexpr const char* WINDOW_CLASS_PROPERTY = "windowClass";

class CWnd {
  public:
    CWnd() = default;
    // Destroys a system window that still exists (without OnDestroy).
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Slot 0: creates the system window of the class with this object behind
    // it. Returns true when it failed, false when the window exists.
    virtual bool Create(int x, int y, int width, int height, QWidget* parent, int style) = 0;
    // Slot 1: destroys the system window; OnDestroy runs first.
    virtual void Destroy();
    // Slot 2: the window exists; -1 refuses the creation, anything else accepts.
    virtual int OnCreate(void* createData);
    virtual void OnDestroy() {}
    // Non-zero allows the close; the window is then destroyed.
    virtual int OnClose() { return 1; }
    virtual void OnSize(int sizeType, int width, int height);
    virtual void OnPaint(QPainter& dc);
    // The id is in the low 16 bits; the parameter may point to the caller's record.
    virtual intptr_t OnCommand(int id, intptr_t param);
    virtual intptr_t OnUserMessage(int message, intptr_t first, intptr_t second);
    virtual void OnVScroll(int code, int position, QScrollBar* bar);
    virtual void OnHScroll(int code, int position, QScrollBar* bar);
    virtual void OnTimer(int id);
    // Keys: the Qt key code (or the character) and the keyboard modifiers.
    // Returning false leaves the event to the default processing (the parent).
    virtual bool OnChar(int character, int modifiers);
    virtual bool OnKeyDown(int key, int modifiers);
    virtual bool OnKeyUp(int key, int modifiers);
    virtual void OnSetFocus();
    virtual void OnKillFocus();
    // Key flags (MK_...) and signed client coordinates; a captured mouse may
    // report positions left of or above the window.
    virtual void OnMouseMove(int keyFlags, int x, int y);
    virtual void OnLButtonDown(int keyFlags, int x, int y);
    virtual void OnLButtonUp(int keyFlags, int x, int y);
    virtual void OnRButtonDown(int keyFlags, int x, int y);
    virtual void OnRButtonUp(int keyFlags, int x, int y);
    // Beside the numbered slots: the wheel (`delta` in eighths of a degree,
    // 120 a notch; horizontal wheels set `horizontal`), and the pointer leaving.
    virtual void OnMouseWheel(int keyFlags, int delta, bool horizontal, int x, int y);
    virtual void OnMouseLeave();

    // The object behind a widget of ours; null for any other widget.
    static CWnd* fromWidget(const QWidget* widget);
    QString windowClass() const;

    // Timers by our own ids; OnTimer receives the id given here.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    // Takes the mouse capture; returns the widget that held it before.
    QWidget* SetCapture();
    // Gives the capture back to `previous` (or releases it when null).
    void ReleaseCapture(QWidget* previous);
    // Scroll bar actions of `bar` arrive as OnVScroll / OnHScroll with the
    // codes above; the position is the slider position after the action.
    void attachScrollBar(QScrollBar* bar, bool vertical);

    // The system window; null before Create and after Destroy.
    QWidget* hwnd = nullptr;

  protected:
    // Creates the widget of `windowClass` under `parent` and runs OnCreate.
    // Returns true when it failed (OnCreate refused; the widget is gone then).
    bool createWindow(const char* windowClass, QWidget* parent, int x, int y, int width, int height,
                      void* createData = nullptr);
    // Lets the window object be deleted together with its system window
    // (after OnDestroy), for windows nobody else owns.
    void deleteWithWindow() { ownedByWindow_ = true; }

  private:
    friend class WndWidget;
    bool ownedByWindow_ = false;
};

// Sends a command to the object behind `hwnd` and returns its answer; 0 when
// the widget is not one of ours.
intptr_t sendCommand(QWidget* hwnd, int id, intptr_t param = 0);
// Queue a command or a user message for the window; safe from any thread.
// The message is dropped if the window is gone when it would be delivered.
void postCommand(QWidget* hwnd, int id, intptr_t param = 0);
void postUserMessage(QWidget* hwnd, int message, intptr_t first, intptr_t second);

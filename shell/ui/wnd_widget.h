// The widget behind every CWnd: turns Qt events into the object's operations.
#pragma once

#include <QEvent>
#include <QWidget>

#include <map>

class CWnd;

class WndWidget : public QWidget {
  public:
    WndWidget(CWnd* object, const char* windowClass, QWidget* parent);
    // Runs OnDestroy while the object is still attached; deletes the object
    // too when it belongs to its window.
    ~WndWidget() override;

    CWnd* object() const { return object_; }
    // Cuts the tie to the object; the widget then only draws its background.
    void detach() { object_ = nullptr; }

    void setTimer(int id, int milliseconds);
    void killTimer(int id);

    static QEvent::Type commandEventType();
    static QEvent::Type userMessageEventType();

  protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

  private:
    int sizeType() const;

    CWnd* object_;
    std::map<int, int> timers_; // our id -> Qt's id
};

// The frame window: menu, toolbar, status bar and the MDI area holding one
// child per open measurement or result.
#pragma once

#include <QMainWindow>

#include <memory>

#include "shell/settings.h"
#include "shell/ui/frame_services.h"

class CMDIChildWnd;
class CStatusBar;
class FrameCommands;
class QMdiArea;
class QMenu;
class QToolBar;

constexpr const char* FRAME_TITLE = "Ondarix ver. 3.2";
constexpr int FRAME_MIN_SIZE = 100;
constexpr int TOOLBAR_ID = 10;
constexpr int STATUS_BAR_ID = 11;
// Status part edges at creation, and their distance from the right end after
// a resize.
constexpr int STATUS_FIRST_EDGE = 140;
constexpr int STATUS_SECOND_EDGE = 260;
constexpr int STATUS_FIRST_FROM_RIGHT = 340;
constexpr int STATUS_SECOND_FROM_RIGHT = 180;

class CMainFrame : public QMainWindow, public FrameServices {
  public:
    CMainFrame();
    // Saves the placement, then lets the children go with the frame.
    ~CMainFrame() override;

    // FrameServices
    void setStatusText(int part, const QString& text) override;
    void trackSignalPopup(QWidget* owner, const QPoint& globalPos) override;
    intptr_t frameCommand(int id, intptr_t param) override;

    QMdiArea* mdiClient() const { return mdi_; }
    CStatusBar* statusParts() const { return status_; }
    QToolBar* frameToolBar() const { return toolBar_; }
    FrameCommands& commands() const { return *commands_; }
    // The popup of the frame menu at `index` (0 "&File" .. 8 "&Help").
    QMenu* framePopup(int index) const;

    // The MDI area's active child; null when there is none.
    CMDIChildWnd* activeChild() const;
    bool activeChildMaximized() const;
    // The open children in the MDI area's creation order.
    QList<CMDIChildWnd*> children() const;

    // Places toolbar, MDI area and status bar in a client of this size.
    void Layout(int width, int height);
    // Restores a stored placement: the normal rectangle and the show state.
    void applyPlacement(const WindowPlacement& placement);
    void savePlacement() const;

    // Enabling and marks of a frame popup, as each popup gets them when it opens.
    void updateMenuState(QMenu* popup);

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void createFixedChildren();
    void createMenus();
    void fillWindowList(QMenu* windowMenu);

    QMdiArea* mdi_ = nullptr;
    CStatusBar* status_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QList<QMenu*> popups_;
    std::unique_ptr<FrameCommands> commands_;
};

// The MDI child base: a CWnd whose widget sits in a sub-window of the frame's
// MDI area. The window object belongs to its window and is deleted with it.
#pragma once

#include <climits>
#include <cstdint>

#include "shell/ui/wnd.h"

class QMdiArea;
class QMdiSubWindow;

// Position and size left to the MDI area.
constexpr int CW_USEDEFAULT = INT_MIN;
// Create style bit: the child starts maximised.
constexpr int WS_MAXIMIZE = 0x01000000;

class CMDIChildWnd : public CWnd {
  public:
    CMDIChildWnd();

    // Removes the child from the MDI area and destroys it; OnDestroy runs
    // first, and the object is deleted afterwards.
    void Destroy() override;
    // Keys the child does not take go on to the MDI area.
    bool OnChar(int character, int modifiers) override;
    bool OnKeyDown(int key, int modifiers) override;
    bool OnKeyUp(int key, int modifiers) override;
    // Slot 22: the child became active (or stopped being active).
    virtual intptr_t OnMDIActivate(bool active);

    QMdiSubWindow* subWindow() const;
    // Numbered " (2)", " (3)", ... while another window has the same title.
    void setTitle(const QString& title);
    // The title as shown, an asterisk after it while the window is modified.
    QString title() const;
    // The title as set, without the asterisk.
    const QString& plainTitle() const { return title_; }
    // Whether the window holds changes not yet saved; the title says so.
    bool isModified() const { return modified_; }
    // Every call counts as a change of the contents (an erase, an undo, a
    // save), so a copy kept of them can tell whether it is still current.
    void setModified(bool modified);
    uint64_t revision() const { return revision_; }

    // The child object of a sub-window; null for anything else.
    static CMDIChildWnd* fromSubWindow(const QMdiSubWindow* window);

  protected:
    // Creates the child of `windowClass` in `mdiArea` (the parent given to
    // Create), runs OnCreate and shows it. Returns true when it failed.
    bool createChild(const char* windowClass, const QString& title, QWidget* mdiArea, int x, int y,
                     int width, int height, int style);

  private:
    void showTitle();

    QString title_;
    bool modified_ = false;
    uint64_t revision_ = 0;
};

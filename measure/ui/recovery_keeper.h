// Keeps a recovery copy of every measurement window with unsaved changes, so
// that a program killed by the system or a power cut loses none of them: a
// window's copy is written when it changed, at most once in `spacing`, and
// removed once the window is saved, taken back to its file's state, or closed
// (its changes discarded). A normal end of the program removes them all.
//
// The copy is written on a thread of its own from a snapshot of the
// measurement taken on the user-interface thread (a memory copy, some
// milliseconds for the largest .INT), so writing and syncing a large file
// never holds up the windows.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "shell/recovery_store.h"

class CMainFrame;
class CMeasureWnd;
class QWidget;

class RecoveryKeeper : public QObject {
  public:
    using Clock = std::chrono::steady_clock;

    // A keeper belonging to `frame` (deleted with it), looking at its windows
    // every `period`.
    RecoveryKeeper(CMainFrame& frame, RecoveryStore store,
                   std::chrono::milliseconds period = std::chrono::seconds(2),
                   Clock::duration spacing = std::chrono::seconds(30));
    // Waits for a copy under way, then removes every copy: the windows are
    // gone, each one saved or its changes discarded.
    ~RecoveryKeeper() override;

    // The keeper of `frame`; null when it has none.
    static RecoveryKeeper* of(const CMainFrame& frame);

    const RecoveryStore& store() const { return store_; }
    // One look at the windows as of `now`: copies started for the changed
    // ones whose copy is older than their changes (and than `spacing`),
    // copies removed for those no longer changed.
    void keep(Clock::time_point now);
    // Waits for the copy being written, if any, and takes note of it.
    void finishWriting();
    // Makes `entry`, a copy a program that died left of `window`'s
    // measurement, the window's copy.
    void adopt(CMeasureWnd& window, const RecoveryEntry& entry);
    // The copy of `window`; empty while it has none.
    std::string copyOf(const CMeasureWnd& window) const;

  private:
    struct Kept {
        const CMeasureWnd* window = nullptr;
        QPointer<QWidget> widget;
        bool copied = false;
        uint64_t revision = 0; // of the window when copied
        bool tried = false;
        Clock::time_point written; // the last copy started
    };

    // The serial of `window`, new windows numbered on first sight.
    int serialOf(CMeasureWnd& window);
    const Kept* keptOf(const CMeasureWnd& window) const;
    void keepWindow(CMeasureWnd& window, Clock::time_point now);
    void startWriting(int serial, CMeasureWnd& window, Clock::time_point now);
    // The window went: its copy goes with it, now or when written.
    void forget(int serial);
    // Whether `window` is still one of the frame's windows.
    bool isOpen(const CMeasureWnd* window) const;

    CMainFrame& frame_;
    RecoveryStore store_;
    Clock::duration spacing_;
    QTimer timer_;
    std::map<int, Kept> kept_;
    int nextSerial_ = 1;

    std::thread worker_;
    int writingSerial_ = 0;
    uint64_t writingRevision_ = 0;
    bool written_ = false; // set by the worker, read after joining it
};

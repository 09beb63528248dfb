// What child windows and views ask of the frame: status bar text, the signal
// popup menu and the frame's command handler. Without a frame (in tests of a
// lone view) the calls do nothing and commands answer 0.
#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>

class QWidget;

// Status bar parts: 0 the hint ("Ready"), 1 the pointer readout, 2 the block.
constexpr int STATUS_PART_HINT = 0;
constexpr int STATUS_PART_CURSOR = 1;
constexpr int STATUS_PART_BLOCK = 2;
// What parts 1 and 2 say while no window shows anything.
constexpr const char* STATUS_CURSOR_IDLE = "x=  y=";
constexpr const char* STATUS_BLOCK_IDLE = "block=";

class FrameServices {
  public:
    virtual ~FrameServices() = default;
    virtual void setStatusText(int part, const QString& text) = 0;
    // Pops up menu 136 at the pointer; the chosen command goes to the
    // frame's command handler like a menu command. Returns when it closed.
    virtual void trackSignalPopup(QWidget* owner, const QPoint& globalPos) = 0;
    // The frame's command handler: frame commands, or forwarding to the
    // active child.
    virtual intptr_t frameCommand(int id, intptr_t param) = 0;
};

// The frame installs itself when created and removes itself when destroyed;
// a test may install a recorder. Null uninstalls.
void setFrameServices(FrameServices* services);
FrameServices* frameServices();

void setStatusText(int part, const QString& text);
void trackSignalPopup(QWidget* owner, const QPoint& globalPos);
intptr_t frameCommand(int id, intptr_t param = 0);

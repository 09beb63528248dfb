// The frame's command handler: forwarding of the measurement commands to the
// active child, the subsystems' command groups, the few commands the frame
// carries out itself, and the queries it sends the active child.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "measure/measure.h"

class CMainFrame;
class CommandGroup;

class FrameCommands {
  public:
    explicit FrameCommands(CMainFrame& frame);
    ~FrameCommands();

    intptr_t OnCommand(int id, intptr_t param);

    // Queries of the active child; an empty block, plot command 0 and
    // null without one.
    BlockRange childBlock() const;
    int32_t childPlotCommand() const;
    CMeasure* childMeasure() const;
    // Whether the active child has an erase to undo.
    bool childCanUndo() const;

  private:
    intptr_t forwardToChild(int id, intptr_t param);
    void OnAbout();
    void OnHelpContents();
    void OnExit();
    void OnCloseWindow();
    void OnActivateChild(int index);
    void OnArrangeIcons();
    void OnCascade();

    CMainFrame& frame_;
    std::vector<std::unique_ptr<CommandGroup>> groups_;
};

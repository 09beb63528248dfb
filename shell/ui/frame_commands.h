// The frame's command handler: the commands the frame carries out itself,
// forwarding of the measurement commands to the active child, and the queries
// it sends that child.
#pragma once

#include <cstdint>
#include <memory>

#include "measure/measure.h"

class CMainFrame;
class FileCommands;

class FrameCommands {
  public:
    explicit FrameCommands(CMainFrame& frame);
    ~FrameCommands();

    intptr_t OnCommand(int id, intptr_t param);

    // Queries of the active child; an empty block, mode 0 and null without one.
    BlockRange childBlock() const;
    int32_t childPlotMode() const;
    CMeasure* childMeasure() const;

  private:
    bool isChildCommand(int id) const;
    intptr_t forwardToChild(int id, intptr_t param);
    void OnAbout();
    void OnHelpContents();
    void OnExit();
    void OnCloseWindow();
    void OnActivateChild(int index);

    // Dialogs and windows of later work; each does nothing yet.
    void OnInfo();
    void OnGenerate();
    void OnFourier();
    void OnKalman();
    void OnApproximation();
    void OnStatistic();
    void OnFourierOptions();
    void OnKalmanOptions();
    void OnAproxOptions();

    CMainFrame& frame_;
    std::unique_ptr<FileCommands> files_;
};

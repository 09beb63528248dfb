// The Analysis menu's runs on the active window's block: "&Fourier",
// "&Kalman" and "&Approximation". Each shows its run dialog and, on OK,
// opens a result window that computes at once.
#pragma once

#include "shell/ui/command_group.h"

class CCalculation;
class CMainFrame;
class CMeasure;
class CResultWnd;
struct BlockRange;

class AnalysisCommands : public CommandGroup {
  public:
    explicit AnalysisCommands(CMainFrame& frame) : frame_(frame) {}

    bool OnCommand(int id) override;

  private:
    void OnFourier();
    void OnKalman();
    void OnApproximation();
    // The active window's measurement and block; false without one or
    // (said in a message) when its block names no channel.
    bool activeBlock(CMeasure*& measure, BlockRange& block);
    // Refuses (with `problem`, or the block's own refusal, in a message) or
    // opens `window` on `result`, maximised when the active window is.
    void openResult(CResultWnd* window, CCalculation* result, const char* problem);

    CMainFrame& frame_;
};

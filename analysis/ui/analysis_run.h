// What every analysis run command shares: the active window's block, the
// check for wave components, and the result window opened on OK.
#pragma once

class CCalculation;
class CMainFrame;
class CMeasure;
class CResultWnd;
class QWidget;
struct BlockRange;

// The active window's measurement and block; false without one or (said in
// a message) when its block names no channel.
bool activeBlock(CMainFrame& frame, CMeasure*& measure, BlockRange& block);

// Kalman and the approximation work on the channel's wave components; a
// channel without any would give nothing but its rest. Says so, and where
// the components are added; false then.
bool hasComponents(QWidget* owner, const CMeasure& measure, int channel, const char* analysis);

// Refuses (with `problem`, or the block's own refusal, in a message) or
// opens `window` on `result`, maximised when the active window is.
void openResult(CMainFrame& frame, CResultWnd* window, CCalculation* result, const char* problem);

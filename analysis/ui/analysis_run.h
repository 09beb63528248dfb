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

// Refuses (with `problem`, or the block's own refusal, in a message) or
// opens `window` on `result`, maximised when the active window is.
void openResult(CMainFrame& frame, CResultWnd* window, CCalculation* result, const char* problem);

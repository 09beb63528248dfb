// "Save changes to <file>?" before a modified measure window goes, with the
// window itself or with the program.
#pragma once

#include <QString>

class CMeasureWnd;

// The question's text for `window`: its file's name, or its title when the
// measurement has no file.
QString saveQuestionText(const CMeasureWnd& window);

// True when `window` may go: it holds no unsaved change, the user discarded
// the changes, or "Save" wrote them (through Save as). False on Cancel and
// when the save was cancelled or failed. The window is made the active one
// first, so that the user sees what the question is about.
bool mayDiscardChanges(CMeasureWnd& window);

// Every command of the frame in one row: where its item sits in the menu bar,
// its text, keys and tips, its toolbar picture and when it can be chosen. The
// menus, the window-wide keys, the toolbar, the tips and the greying are all
// built from these rows, so a new command is one row plus its handler.
#pragma once

#include <vector>

// When an item can be chosen; decided each time its popup opens.
enum class EnableRule {
    Always,      // nothing greys it
    NeedsWindow, // an active window
    NeedsBlock,  // a selected block in the active window
    NeedsUndo,   // an erase in the active window to take back
    PlotChoice,  // an active window; marked when it is the window's plot mode
};

// Whether a line separates the item from the one above it in its popup.
enum class Separator { None, Before };

constexpr int NO_TOOLBAR_IMAGE = -1;

struct CommandInfo {
    int id;
    const char* menu; // the menu bar popup's title; null: in no popup of it
    Separator separator;
    const char* text;              // as the item shows it, a tab before the keys it names
    std::vector<const char*> keys; // window-wide keys in portable form ("Ctrl+Ins")
    EnableRule rule;
    int toolbarImage;      // the picture of its toolbar button; NO_TOOLBAR_IMAGE for none
    const char* toolTip;   // the toolbar button's tip
    const char* statusTip; // one line for the status bar; empty for none
};

// The rows in menu bar order: the popups in the order their first rows come,
// each popup's items in row order. Rows without a menu follow.
const std::vector<CommandInfo>& commandTable();

// The row of command `id`; null when it has none.
const CommandInfo* commandInfo(int id);

// What a command does, in one line for the status bar; empty for none.
const char* commandStatusTip(int id);

// Enabling and radio marks of the frame menu's items, decided each time a
// popup opens from what the active child reports and the command's rule.
#pragma once

#include "measure/measure.h"
#include "shell/command_table.h"

struct MenuContext {
    bool hasChild = false;
    BlockRange block{0, 0, 0}; // the child's selection; empty without a child
    int plotMode = 0;          // the child's plot mode; unused without a child
    bool canUndo = false;      // the child has an erase to take back
};

struct MenuItemState {
    bool enabled = true;
    bool checked = false;
};

// The state `command`'s rule gives its item in `context`.
MenuItemState commandState(const CommandInfo& command, const MenuContext& context);

// The plot command whose radio mark a plot mode selects; 0 for none.
int plotCommandForMode(int plotMode);

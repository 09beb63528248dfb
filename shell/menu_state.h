// Enabling and radio marks of the frame menu's items, decided each time a
// popup opens from what the active child reports and the command's rule.
#pragma once

#include "measure/measure.h"
#include "shell/command_table.h"

struct MenuContext {
    bool hasChild = false;
    BlockRange block{0, 0, 0}; // the child's selection; empty without a child
    int plotCommand = 0;       // the plot command the child's mode selects, or 0
    bool canUndo = false;      // the child has an erase to take back
};

struct MenuItemState {
    bool enabled = true;
    bool checked = false;
};

// The state `command`'s rule gives its item in `context`.
MenuItemState commandState(const CommandInfo& command, const MenuContext& context);

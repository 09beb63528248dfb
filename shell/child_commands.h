// The commands that concern the current measurement: the frame forwards them
// unchanged to the active child window. Defined once, here; the frame's
// forwarding and the windows' dispatch both ask these predicates.
#pragma once

#include "shell/command_ids.h"

// What a child window handles itself (besides what its view answers).
constexpr int WINDOW_COMMANDS[] = {
    CMD_RECALCULATE, CMD_BLOCK_INFO, CMD_ADD_SAMPLE, CMD_SUB_SAMPLE, CMD_VIEW_INFO,
    CMD_BLOCK_ERASE, CMD_BLOCK_SET,  CMD_UNDO,       CMD_GET_UNDO,   CMD_GET_MEASURE,
};

constexpr bool isWindowCommand(int id) {
    for (int command : WINDOW_COMMANDS)
        if (command == id) return true;
    return false;
}

// Every command the frame forwards to the active child.
constexpr bool isChildCommand(int id) {
    return isViewCommand(id) || isWindowCommand(id);
}

#include "shell/menu_state.h"

#include "shell/command_ids.h"
#include "view/plot_mode.h"

namespace {

bool blockEmpty(const MenuContext& context) {
    return context.block.from == context.block.to;
}

bool fileItemState(int itemId, const MenuContext& context, MenuItemState& state) {
    switch (itemId) {
    case CMD_INFO:
    case CMD_SAVE_AS:
    case CMD_EXPORT_PLOT:
        state = {context.hasChild, false};
        return true;
    case CMD_SAVE_BLOCK:
        state = {!blockEmpty(context), false};
        return true;
    default:
        return false;
    }
}

bool editItemState(int itemId, const MenuContext& context, MenuItemState& state) {
    switch (itemId) {
    case CMD_VIEW_COPY:
    case CMD_BLOCK_INFO:
    case CMD_BLOCK_ERASE:
        state = {!blockEmpty(context), false};
        return true;
    case CMD_BLOCK_SET:
        state = {context.hasChild, false};
        return true;
    case CMD_UNDO:
        state = {context.canUndo, false};
        return true;
    default:
        return false;
    }
}

bool plotItemState(int itemId, const MenuContext& context, MenuItemState& state) {
    if (itemId < CMD_PLOT_SIGNAL || itemId > CMD_PLOT_MODULE) return false;
    state.enabled = context.hasChild;
    state.checked = context.hasChild && plotCommandForMode(context.plotMode) == itemId;
    return true;
}

// The View, Analysis and Window arrangement items act on a window.
bool windowItemState(const MenuContext& context, MenuItemState& state) {
    state = {context.hasChild, false};
    return true;
}

} // namespace

int plotCommandForMode(int plotMode) {
    switch (plotMode) {
    case PLOT_SIGNAL:
        return CMD_PLOT_SIGNAL;
    case PLOT_SIGNAL | PLOT_ENVELOPE:
        return CMD_PLOT_ENVELOPE;
    case PLOT_SIGNAL | PLOT_COSIGNAL:
        return CMD_PLOT_COSIGNAL;
    case PLOT_SIGNAL | PLOT_COSIGNAL | PLOT_ENVELOPE:
        return CMD_PLOT_ALL;
    case PLOT_MODULE:
        return CMD_PLOT_MODULE;
    default:
        return 0;
    }
}

bool menuItemState(int firstItemId, int itemId, const MenuContext& context, MenuItemState& state) {
    switch (firstItemId) {
    case CMD_OPEN:
        return fileItemState(itemId, context, state);
    case CMD_UNDO:
    case CMD_VIEW_COPY:
        return editItemState(itemId, context, state);
    case CMD_PLOT_SIGNAL:
        return plotItemState(itemId, context, state);
    case CMD_Y_RANGE_IN:
    case CMD_FOURIER:
        return windowItemState(context, state);
    case CMD_CLOSE_WINDOW:
        return windowItemState(context, state);
    default:
        return false;
    }
}

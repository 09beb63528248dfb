#include "shell/menu_state.h"

#include "shell/command_ids.h"
#include "view/plot_mode.h"

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

MenuItemState commandState(const CommandInfo& command, const MenuContext& context) {
    switch (command.rule) {
    case EnableRule::NeedsWindow:
        return {context.hasChild, false};
    case EnableRule::NeedsBlock:
        return {context.block.from != context.block.to, false};
    case EnableRule::NeedsUndo:
        return {context.canUndo, false};
    case EnableRule::PlotChoice:
        return {context.hasChild,
                context.hasChild && plotCommandForMode(context.plotMode) == command.id};
    case EnableRule::Always:
    default:
        return {true, false};
    }
}

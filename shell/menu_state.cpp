#include "shell/menu_state.h"

#include "shell/command_ids.h"

MenuItemState commandState(const CommandInfo& command, const MenuContext& context) {
    switch (command.rule) {
    case EnableRule::NeedsWindow:
        return {context.hasChild, false};
    case EnableRule::NeedsBlock:
        return {context.block.from != context.block.to, false};
    case EnableRule::NeedsUndo:
        return {context.canUndo, false};
    case EnableRule::PlotChoice:
        return {context.hasChild, context.hasChild && context.plotCommand == command.id};
    case EnableRule::Always:
    default:
        return {true, false};
    }
}

#include "shell/menus.h"

#include <algorithm>
#include <cstring>

#include "shell/command_ids.h"
#include "shell/command_table.h"

namespace {

const MenuItem SEPARATOR{0, ""};

bool sameMenu(const char* a, const char* b) {
    return a && b && std::strcmp(a, b) == 0;
}

// A popup comes where its first row is; a later row of it joins it there.
std::vector<MenuPopup> buildFrameMenu() {
    std::vector<MenuPopup> menu;
    for (const CommandInfo& row : commandTable()) {
        if (!row.menu) continue;
        auto popup = std::find_if(menu.begin(), menu.end(),
                                  [&](const MenuPopup& p) { return p.title == row.menu; });
        if (popup == menu.end()) popup = menu.insert(menu.end(), MenuPopup{row.menu, {}});
        if (row.separator == Separator::Before && !popup->items.empty())
            popup->items.push_back(SEPARATOR);
        popup->items.push_back({row.id, row.text});
    }
    return menu;
}

// The popup shows an item without the keys its menu bar twin names.
MenuItem popupItem(int id) {
    if (id == 0) return SEPARATOR;
    const CommandInfo* row = commandInfo(id);
    std::string text = row ? row->text : "";
    return {id, text.substr(0, text.find('\t'))};
}

} // namespace

const std::vector<MenuPopup>& frameMenu() {
    static const std::vector<MenuPopup> menu = buildFrameMenu();
    return menu;
}

const MenuPopup& signalPopup() {
    static const MenuPopup popup = [] {
        MenuPopup p{"signal", {}};
        for (int id : {CMD_VIEW_INFO, CMD_VIEW_ADD, 0, CMD_ZOOM_X_IN, CMD_ZOOM_X_OUT, CMD_ZOOM_Y_IN,
                       CMD_ZOOM_Y_OUT, 0, CMD_BEGIN_BLOCK, CMD_END_BLOCK, CMD_SELECT_ALL})
            p.items.push_back(popupItem(id));
        return p;
    }();
    return popup;
}

const std::vector<Accelerator>& frameAccelerators() {
    static const std::vector<Accelerator> table = [] {
        std::vector<Accelerator> keys;
        for (const CommandInfo& row : commandTable())
            for (const char* key : row.keys)
                keys.push_back({key, row.id});
        return keys;
    }();
    return table;
}

const std::vector<int>& toolbarCommands() {
    static const std::vector<int> buttons = [] {
        std::vector<int> ids;
        const char* menu = nullptr;
        for (const CommandInfo& row : commandTable()) {
            if (row.toolbarImage == NO_TOOLBAR_IMAGE) continue;
            if (!ids.empty() && !sameMenu(row.menu, menu)) ids.push_back(0);
            ids.push_back(row.id);
            menu = row.menu;
        }
        return ids;
    }();
    return buttons;
}

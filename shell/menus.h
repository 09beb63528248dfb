// The frame's menu bar, the view's popup menu, the window-wide keys and the
// toolbar as data, all taken from the command table. The user interface
// builds its menus, shortcuts and buttons from these.
#pragma once

#include <string>
#include <vector>

// A menu item; id 0 marks a separator.
struct MenuItem {
    int id;
    std::string text;
};

struct MenuPopup {
    std::string title;
    std::vector<MenuItem> items;
};

// A key combination in the portable text form ("Ctrl+A", "Shift+Del", "F5")
// and the command it sends.
struct Accelerator {
    const char* keys;
    int id;
};

// Menu 101: the frame's menu bar, popups in order.
const std::vector<MenuPopup>& frameMenu();
// Menu 136: the plot view's popup "signal".
const MenuPopup& signalPopup();
// Every key of every command, in table order.
const std::vector<Accelerator>& frameAccelerators();
// The toolbar's buttons as command ids, 0 for a separator: one between
// buttons of different menus.
const std::vector<int>& toolbarCommands();

// The popup of the frame menu that takes the window list ("&Window").
constexpr int WINDOW_MENU_INDEX = 7;

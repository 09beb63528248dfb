// The frame menu, the view's popup menu and the frame's accelerator table as
// data: texts, command ids and keys. The user interface builds its menus and
// shortcuts from these tables.
#pragma once

#include <vector>

// A menu item; id 0 marks a separator.
struct MenuItem {
    int id;
    const char* text;
};

struct MenuPopup {
    const char* title;
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
// Accelerator table 125.
const std::vector<Accelerator>& frameAccelerators();
// Keys beside the table: the menu writes "Y Range out" with Ctrl+0 (zero),
// so that key works as well as the table's Ctrl+O.
const std::vector<Accelerator>& frameAcceleratorAliases();
// Keys of the commands added beside the table's: Ctrl+Z undoes.
const std::vector<Accelerator>& frameAddedAccelerators();

// What a command does, in one line for the status bar; empty for none.
const char* commandStatusTip(int id);
// The toolbar buttons' tooltips.
const char* commandToolTip(int id);

// The popup of the frame menu that takes the window list ("&Window").
constexpr int WINDOW_MENU_INDEX = 7;

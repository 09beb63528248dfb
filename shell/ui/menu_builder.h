// Builds menus and shortcuts from the command table. Every action carries its
// command id; triggering it hands the id to a sink.
#pragma once

#include <QList>

#include <functional>

#include "shell/menus.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

constexpr const char* COMMAND_ID_PROPERTY = "commandId";

using CommandSink = std::function<void(int id)>;

// One popup; null sink: the caller reads the chosen action itself.
QMenu* buildPopup(const MenuPopup& popup, QWidget* parent, const CommandSink& sink);
// Menu 101 as a menu bar, popups in table order.
QMenuBar* buildMenuBar(QWidget* parent, const CommandSink& sink);
// Every key of the command table as a window-wide shortcut of `window`.
QList<QAction*> addAccelerators(QWidget* window, const CommandSink& sink);

// The command id of an action of ours; 0 for separators and other actions.
int commandIdOf(const QAction* action);
// The action with this id in `menu` (not in its submenus); null when none.
QAction* findCommand(const QMenu* menu, int id);

#include "shell/ui/menu_builder.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "shell/command_table.h"

namespace {

QAction* commandAction(QObject* parent, int id, const QString& text, const CommandSink& sink) {
    auto* action = new QAction(text, parent);
    action->setProperty(COMMAND_ID_PROPERTY, id);
    action->setStatusTip(QString::fromLatin1(commandStatusTip(id)));
    if (sink) QObject::connect(action, &QAction::triggered, action, [sink, id] { sink(id); });
    return action;
}

} // namespace

QMenu* buildPopup(const MenuPopup& popup, QWidget* parent, const CommandSink& sink) {
    auto* menu = new QMenu(QString::fromStdString(popup.title), parent);
    for (const MenuItem& item : popup.items) {
        if (item.id == 0)
            menu->addSeparator();
        else
            menu->addAction(commandAction(menu, item.id, QString::fromStdString(item.text), sink));
    }
    return menu;
}

QMenuBar* buildMenuBar(QWidget* parent, const CommandSink& sink) {
    auto* bar = new QMenuBar(parent);
    for (const MenuPopup& popup : frameMenu())
        bar->addMenu(buildPopup(popup, bar, sink));
    return bar;
}

QList<QAction*> addAccelerators(QWidget* window, const CommandSink& sink) {
    QList<QAction*> actions;
    for (const Accelerator& entry : frameAccelerators()) {
        QAction* action = commandAction(window, entry.id, QString(), sink);
        action->setShortcut(QKeySequence(QString::fromLatin1(entry.keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        actions.append(action);
    }
    return actions;
}

int commandIdOf(const QAction* action) {
    QVariant id = action ? action->property(COMMAND_ID_PROPERTY) : QVariant();
    return id.isValid() ? id.toInt() : 0;
}

QAction* findCommand(const QMenu* menu, int id) {
    if (!menu) return nullptr;
    for (QAction* action : menu->actions())
        if (commandIdOf(action) == id) return action;
    return nullptr;
}

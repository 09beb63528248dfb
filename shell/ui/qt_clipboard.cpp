#include "shell/ui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

bool QtClipboard::setText(const std::string& text) {
    QClipboard* board = QGuiApplication::clipboard();
    if (!board) return false;
    board->setText(QString::fromStdString(text));
    return true;
}

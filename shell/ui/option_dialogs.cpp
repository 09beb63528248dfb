#include "shell/ui/option_dialogs.h"

#include <map>
#include <utility>

namespace {

std::map<int, OptionDialogOpener>& openers() {
    static std::map<int, OptionDialogOpener> byCommand;
    return byCommand;
}

} // namespace

void addOptionDialog(int command, OptionDialogOpener open) {
    openers()[command] = std::move(open);
}

bool openOptionDialog(int command, QWidget* owner) {
    auto found = openers().find(command);
    if (found == openers().end()) return false;
    found->second(owner);
    return true;
}

#include "shell/ui/command_groups.h"

#include <utility>

namespace {

std::vector<CommandGroupFactory>& factories() {
    static std::vector<CommandGroupFactory> list;
    return list;
}

std::vector<CommandWatch>& watches() {
    static std::vector<CommandWatch> list;
    return list;
}

} // namespace

void addCommandGroup(CommandGroupFactory make) {
    factories().push_back(std::move(make));
}

const std::vector<CommandGroupFactory>& commandGroupFactories() {
    return factories();
}

void addCommandWatch(CommandWatch watch) {
    watches().push_back(std::move(watch));
}

const std::vector<CommandWatch>& commandWatches() {
    return watches();
}

// The command groups the features add: the frame makes one of each, in the
// order they were added, and offers every command to them in turn.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "shell/ui/command_group.h"

class CMainFrame;

using CommandGroupFactory = std::function<std::unique_ptr<CommandGroup>(CMainFrame&)>;

void addCommandGroup(CommandGroupFactory make);
const std::vector<CommandGroupFactory>& commandGroupFactories();

// Adds a group of type `Group`, built on the frame.
template <typename Group> void addCommandGroup() {
    addCommandGroup([](CMainFrame& frame) { return std::make_unique<Group>(frame); });
}

// The command groups the features add: the frame makes one of each, in the
// order they were added, and offers every command to them in turn; and the
// watches that see each command run.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "shell/ui/command_group.h"

class CMainFrame;

using CommandGroupFactory = std::function<std::unique_ptr<CommandGroup>(CMainFrame&)>;

void addCommandGroup(CommandGroupFactory make);
const std::vector<CommandGroupFactory>& commandGroupFactories();

// Something that sees a command from before it runs until after it ran: the
// frame calls each watch with the command and keeps what it returns (null
// for nothing to watch) until the command is done.
using CommandWatch = std::function<std::shared_ptr<void>(CMainFrame& frame, int id)>;

void addCommandWatch(CommandWatch watch);
const std::vector<CommandWatch>& commandWatches();

// Adds a group of type `Group`, built on the frame.
template <typename Group> void addCommandGroup() {
    addCommandGroup([](CMainFrame& frame) { return std::make_unique<Group>(frame); });
}

// What the component-list analyses (kalman, aprox) share on the command line:
// their arguments, the component file and the outputs.
#pragma once

#include <string>

#include "batch/batch_command.h"
#include "measure/measure.h"
#include "measure/measure_file.h"

bool readWholeFile(const std::string& path, std::string& text);

// Checks IN, --channel, --from, --to, --components and -o OUT (.INT or .TXT);
// returns the exit code of a usage error or of an output that is one of the
// inputs (see refuseOutputOverInput), or EXIT_OK with OUT's type.
int checkComponentRunArgs(Args& args, const BatchCommand& command, FileType& outType);

// Reads IN, the block of --channel/--from/--to, and the component list of
// --components (the signal-parameters "Copy all" text, whose own channel and
// range are not used) into the block channel's list, or with "auto:K" the K
// start components from the peaks of the block's spectrum; returns an exit
// code.
int readComponentRunInput(Args& args, CMeasure& m, BlockRange& range);

// Writes the result to -o, the updated list to --components-out, and the
// analysis's "Copy all" text to stdout.
int writeComponentRunOutputs(Args& args, CMeasure& result, FileType type, const BlockRange& range,
                             const SignalParameters& list, const std::string& copyAllText);

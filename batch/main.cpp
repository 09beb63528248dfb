// ondarix-batch: the measurement core without a window, for scripts and batch work.
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "batch/batch_command.h"
#include "batch/standard_output.h"
#include "measure/file_type_table.h"

namespace {

void printHelp() {
    std::printf("ondarix-batch: Ondarix measurements and analyses from the command line\n\n"
                "usage: ondarix-batch COMMAND [ARGUMENTS]\n\ncommands:\n");
    auto commands = batchCommands();
    std::sort(commands.begin(), commands.end(), [](const BatchCommand& a, const BatchCommand& b) {
        return std::strcmp(a.name, b.name) < 0;
    });
    // The summaries in one column, after the longest name.
    int width = 0;
    for (const auto& c : commands)
        width = std::max(width, int(std::strlen(c.name)));
    for (const auto& c : commands)
        std::printf("  %-*s %s\n", width, c.name, c.summary);
    std::printf("\n'ondarix-batch COMMAND --help' shows a command's arguments.\n"
                "Input types: %s (default: the file's extension; .INT otherwise).\n"
                "A cut or damaged input file is refused; --partial reads its complete rows\n"
                "instead, with a warning.\n"
                "Exit codes: 0 success, 1 failure, 2 bad arguments.\n",
                fileTypeNameList(false, ", ", ", ").c_str());
}

int runCommandLine(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: ondarix-batch COMMAND [ARGUMENTS] (see --help)\n");
        return EXIT_USAGE;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printHelp();
        return EXIT_OK;
    }
    if (name == "--version") {
        std::printf("ondarix-batch %s\n", ONDARIX_VERSION);
        return EXIT_OK;
    }
    const BatchCommand* command = findBatchCommand(name);
    if (!command) {
        std::fprintf(stderr, "ondarix-batch: unknown command '%s' (see --help)\n", name.c_str());
        return EXIT_USAGE;
    }
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: ondarix-batch %s %s\n%s\n", command->name, command->usage,
                        command->summary);
            return EXIT_OK;
        }
    }
    Args args(argc - 2, argv + 2, command->valued);
    if (!args.error().empty()) return usageError(*command, args.error());
    return command->run(args);
}

} // namespace

int main(int argc, char** argv) {
    return finishStandardOutput(runCommandLine(argc, argv));
}

// Runs a program and collects its exit code, standard output and error.
#pragma once

#include <string>
#include <sys/wait.h>
#include <vector>

#include "support/temp_dir.h"

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& word) {
    std::string q = "'";
    for (char c : word)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline CommandResult runCommand(const std::string& program, const std::vector<std::string>& args) {
    TempDir dir;
    std::string cmd = shellQuote(program);
    for (const auto& a : args)
        cmd += " " + shellQuote(a);
    cmd += " >" + shellQuote(dir.file("out")) + " 2>" + shellQuote(dir.file("err")) + " </dev/null";
    CommandResult r;
    int status = std::system(cmd.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto out = readBytes(dir.file("out"));
    auto err = readBytes(dir.file("err"));
    r.out.assign(out.begin(), out.end());
    r.err.assign(err.begin(), err.end());
    return r;
}

// ondarix-batch with the given arguments.
inline CommandResult runBatch(const std::vector<std::string>& args) {
    return runCommand(ONDARIX_BATCH, args);
}
